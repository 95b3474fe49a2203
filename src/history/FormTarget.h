#pragma once

#include <QString>

// Which text a learnt form field takes, as the form memory stores it: "user",
// "password", "identifier", "clause N" (1 to 15) or "paragraph N" (1 to 3).
// A word this version does not know (written by a later one) is kept as it
// is, so that storing a page's fields again does not lose it; it is never
// filled.
class FormTarget {
public:
    enum class Kind {
        UserName,
        Password,
        Identifier,
        Clause,
        Paragraph,
        Unknown
    };
    static constexpr int ClauseCount = 15;
    static constexpr int ParagraphCount = 3;

    FormTarget() = default;
    static FormTarget userName() { return FormTarget(Kind::UserName); }
    static FormTarget password() { return FormTarget(Kind::Password); }
    static FormTarget identifier() { return FormTarget(Kind::Identifier); }
    // A number out of range makes an unknown target.
    static FormTarget clause(int number);
    static FormTarget paragraph(int number);
    static FormTarget fromKey(const QString& key);

    Kind kind() const { return m_kind; }
    int number() const { return m_number; }  // of a clause or a paragraph, else 0
    bool isKnown() const { return m_kind != Kind::Unknown; }
    bool isCredential() const { return m_kind == Kind::UserName || m_kind == Kind::Password; }
    QString key() const;

    bool operator==(const FormTarget& other) const { return key() == other.key(); }
    bool operator!=(const FormTarget& other) const { return !(*this == other); }

private:
    explicit FormTarget(Kind kind, int number = 0) : m_kind(kind), m_number(number) {}

    Kind m_kind = Kind::Unknown;
    int m_number = 0;
    QString m_unknownKey;  // an unknown target's word, as it was read
};
