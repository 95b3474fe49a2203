#include <QApplication>

int runPasteTextTests(int argc, char** argv);
int runHotkeyDispatcherTests(int argc, char** argv);

// The input area's unit tests: the paste sequence and the hook, on recording
// fakes of the clipboard, the keyboard and the timers.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = runPasteTextTests(argc, argv);
    failures += runHotkeyDispatcherTests(argc, argv);
    return failures;
}
