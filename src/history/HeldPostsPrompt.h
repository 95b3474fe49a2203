#pragma once

#include <QCoreApplication>

class PostHistory;
class QWidget;

// At exit, posts the database could not take get a last try, and more while
// the user asks for them: a lock another program held may be gone by then.
// The box names the database's reason.
class HeldPostsPrompt {
    Q_DECLARE_TR_FUNCTIONS(HeldPostsPrompt)
public:
    // True when none is left; false when the user gave them up.
    static bool storeAtExit(PostHistory& history, QWidget* parent);
};
