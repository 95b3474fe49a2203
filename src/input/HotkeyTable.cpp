#include "HotkeyTable.h"

#include <QKeyEvent>

#include <iterator>

namespace {

struct Binding {
    Qt::Key key;
    HotkeyTarget target;
};

const Binding kBindings[] = {
    {Qt::Key_1, HotkeyTarget::clause(1)},       {Qt::Key_2, HotkeyTarget::clause(2)},
    {Qt::Key_3, HotkeyTarget::clause(3)},       {Qt::Key_4, HotkeyTarget::clause(4)},
    {Qt::Key_E, HotkeyTarget::clause(5)},       {Qt::Key_6, HotkeyTarget::clause(6)},
    {Qt::Key_7, HotkeyTarget::clause(7)},       {Qt::Key_D, HotkeyTarget::clause(8)},
    {Qt::Key_G, HotkeyTarget::clause(9)},       {Qt::Key_H, HotkeyTarget::clause(10)},
    {Qt::Key_I, HotkeyTarget::clause(11)},      {Qt::Key_J, HotkeyTarget::clause(12)},
    {Qt::Key_K, HotkeyTarget::clause(13)},      {Qt::Key_L, HotkeyTarget::clause(14)},
    {Qt::Key_N, HotkeyTarget::clause(15)},      {Qt::Key_8, HotkeyTarget::paragraph(1)},
    {Qt::Key_9, HotkeyTarget::paragraph(2)},    {Qt::Key_0, HotkeyTarget::paragraph(3)},
    {Qt::Key_O, HotkeyTarget::siteArticleId()}, {Qt::Key_U, HotkeyTarget::userName()},
    {Qt::Key_W, HotkeyTarget::password()},
};

}  // namespace

std::optional<HotkeyTarget> HotkeyTable::lookup(int key, Qt::KeyboardModifiers modifiers)
{
    // The keypad's digits carry the same key codes as the main row; only the
    // modifier tells them apart, and they are never hotkeys.
    if (!(modifiers & Qt::ControlModifier) || (modifiers & Qt::KeypadModifier))
        return std::nullopt;
    for (const Binding& binding : kBindings) {
        if (binding.key == key)
            return binding.target;
    }
    return std::nullopt;
}

namespace {

// X11 and Wayland number the keys of the digit row 10 ("1") to 19 ("0"),
// whatever they produce; the keypad lies elsewhere.
std::optional<int> digitRowKey(quint32 nativeScanCode)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (nativeScanCode >= 10 && nativeScanCode <= 18)
        return Qt::Key_1 + int(nativeScanCode - 10);
    if (nativeScanCode == 19)
        return Qt::Key_0;
#else
    Q_UNUSED(nativeScanCode);
#endif
    return std::nullopt;
}

}  // namespace

std::optional<HotkeyTarget> HotkeyTable::lookup(const QKeyEvent& event)
{
    const std::optional<int> digit = digitRowKey(event.nativeScanCode());
    return lookup(digit ? *digit : event.key(), event.modifiers());
}

Qt::Key HotkeyTable::keyFor(const HotkeyTarget& target)
{
    for (const Binding& binding : kBindings) {
        if (binding.target == target)
            return binding.key;
    }
    return Qt::Key_unknown;
}
