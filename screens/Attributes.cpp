#include "screens/Attributes.h"

Attributes::Attributes(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("Attributes"));
}
