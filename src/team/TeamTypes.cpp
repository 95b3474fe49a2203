#include "TeamTypes.h"

namespace {

const char* const KindNames[] = {"post", "update", "withdraw", "form"};

}  // namespace

QString TeamChange::kindName(Kind kind) { return QString::fromLatin1(KindNames[kind]); }

bool TeamChange::kindOf(const QString& name, Kind* kind)
{
    for (int k = Post; k <= Form; ++k) {
        if (name == QLatin1String(KindNames[k])) {
            *kind = Kind(k);
            return true;
        }
    }
    return false;
}
