// A picture read and checked, on its way into the store: shared by the store's GUI-free part
// (picture_store.cpp, which stores and links it) and the part that reads pictures
// (picture_adding.cpp, which needs Qt's GUI library to tell a picture's format).
#pragma once

#include <QByteArray>
#include <QString>

namespace pictures {

struct Incoming {
    QByteArray bytes;
    QString file;          // content name: "<32 hex digits of its SHA-256>.<extension>"
    QString originalName;  // shown for it
};

}  // namespace pictures
