#include "frame/fonte_rotulos.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Where Debian's fonts-wine keeps its Tahoma, outside fontconfig's folders.
const QStringList TAHOMA_WINE = {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
                                 QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")};

} // namespace

void RegistraTahoma()
{
    if (QFontDatabase::hasFamily(FONTE_ROTULOS))
        return;
    for (const QString& arquivo : TAHOMA_WINE)
        QFontDatabase::addApplicationFont(arquivo);
}
