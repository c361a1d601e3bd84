#include "screens/ViewFonts.h"

#include <QFont>
#include <QStringList>

void ViewFonts::installSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("MS ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                                QStringLiteral("Noto Sans CJK JP")});
}
