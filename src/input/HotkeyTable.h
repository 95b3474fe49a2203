#pragma once

#include "HotkeyTarget.h"

#include <Qt>
#include <optional>

class QKeyEvent;

// The fixed map from Ctrl+key to what it pastes. Digits 1..4, 6, 7 are clauses,
// E is clause 5 (there is no Ctrl+5), D G H I J K L N are clauses 8..15,
// 8 9 0 the paragraphs, O the identifier, U and W the credentials.
class HotkeyTable {
public:
    // The target of a key pressed with the given modifiers, or nothing when the
    // key is not bound. Ctrl must be held; keypad keys never match; Shift and Alt
    // are not examined.
    static std::optional<HotkeyTarget> lookup(int key, Qt::KeyboardModifiers modifiers);
    // The same for a key press: a key of the digit row counts as its digit
    // whatever the layout or Shift makes of it (AZERTY's "&" is 1, Shift+1's
    // "!" too), as the keyboard's own key codes say.
    static std::optional<HotkeyTarget> lookup(const QKeyEvent& event);

    // The key that pastes a target together with Ctrl (Qt::Key_E for clause 5);
    // Qt::Key_unknown for a target no key pastes.
    static Qt::Key keyFor(const HotkeyTarget& target);
};
