#pragma once

#include <QObject>
#include <QString>

// Gives a control the name it is known by, so that it can be found by it,
// and hands it back for further setting up.
template <typename T>
T* named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}
