#include "FormTarget.h"

#include <QStringList>

namespace {

const char UserKey[] = "user";
const char PasswordKey[] = "password";
const char IdentifierKey[] = "identifier";
const char ClauseWord[] = "clause";
const char ParagraphWord[] = "paragraph";

}  // namespace

FormTarget FormTarget::clause(int number)
{
    if (number < 1 || number > ClauseCount)
        return fromKey(QStringLiteral("%1 %2").arg(QLatin1String(ClauseWord)).arg(number));
    return FormTarget(Kind::Clause, number);
}

FormTarget FormTarget::paragraph(int number)
{
    if (number < 1 || number > ParagraphCount)
        return fromKey(QStringLiteral("%1 %2").arg(QLatin1String(ParagraphWord)).arg(number));
    return FormTarget(Kind::Paragraph, number);
}

FormTarget FormTarget::fromKey(const QString& key)
{
    if (key == QLatin1String(UserKey))
        return userName();
    if (key == QLatin1String(PasswordKey))
        return password();
    if (key == QLatin1String(IdentifierKey))
        return identifier();
    const QStringList parts = key.split(QLatin1Char(' '));
    bool isNumber = false;
    const int number = parts.value(1).toInt(&isNumber);
    // Only the spelling this version writes: "clause 3", not "clause 03" or "clause +3".
    if (parts.size() == 2 && isNumber && parts.at(1) == QString::number(number)) {
        if (parts.first() == QLatin1String(ClauseWord) && number >= 1 && number <= ClauseCount)
            return FormTarget(Kind::Clause, number);
        if (parts.first() == QLatin1String(ParagraphWord) && number >= 1 && number <= ParagraphCount)
            return FormTarget(Kind::Paragraph, number);
    }
    FormTarget unknown;
    unknown.m_unknownKey = key;
    return unknown;
}

QString FormTarget::key() const
{
    switch (m_kind) {
    case Kind::UserName: return QLatin1String(UserKey);
    case Kind::Password: return QLatin1String(PasswordKey);
    case Kind::Identifier: return QLatin1String(IdentifierKey);
    case Kind::Clause: return QStringLiteral("%1 %2").arg(QLatin1String(ClauseWord)).arg(m_number);
    case Kind::Paragraph: return QStringLiteral("%1 %2").arg(QLatin1String(ParagraphWord)).arg(m_number);
    case Kind::Unknown: break;
    }
    return m_unknownKey;
}
