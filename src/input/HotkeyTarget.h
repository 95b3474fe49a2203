#pragma once

// What a bound hotkey pastes: a clause or a paragraph of the current article,
// the site-article identifier, or one of the current site's credentials.
struct HotkeyTarget {
    enum class Kind {
        Clause,
        Paragraph,
        SiteArticleId,
        UserName,
        Password
    };

    Kind kind = Kind::Clause;
    int number = 0;  // clause 1..15 or paragraph 1..3; 0 for the other kinds

    static HotkeyTarget clause(int number) { return {Kind::Clause, number}; }
    static HotkeyTarget paragraph(int number) { return {Kind::Paragraph, number}; }
    static HotkeyTarget siteArticleId() { return {Kind::SiteArticleId, 0}; }
    static HotkeyTarget userName() { return {Kind::UserName, 0}; }
    static HotkeyTarget password() { return {Kind::Password, 0}; }

    // Credentials are marked secret while they sit on the clipboard.
    bool isCredential() const { return kind == Kind::UserName || kind == Kind::Password; }
    // A text of the current article (a clause, a paragraph, its identifier).
    bool isArticleText() const { return !isCredential(); }

    friend bool operator==(const HotkeyTarget& a, const HotkeyTarget& b)
    {
        return a.kind == b.kind && a.number == b.number;
    }
    friend bool operator!=(const HotkeyTarget& a, const HotkeyTarget& b) { return !(a == b); }
};
