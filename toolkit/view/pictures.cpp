#include "pictures.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <map>

namespace tk {

namespace {

// Pictures are PNG files: named as such, Qt reads them at once instead of first loading every image plugin
// to ask whether it knows the file.
QImage readPng(const QString &file)
{
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// Qt 6.4 takes a file named @2x for the same size at twice the scale: then it blurs the 1x rendition up at
// 150 % and never hands the window manager a large icon. As a picture of twice the pixels, it serves every
// scale.
QIcon readPicture(const QString &file)
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(readPng(file)));
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    QImage doubled = readPng(file.left(dot) + QLatin1String("@2x") + file.mid(dot));
    if (!doubled.isNull()) {
        doubled.setDevicePixelRatio(1);
        icon.addPixmap(QPixmap::fromImage(doubled));
    }
    return icon;
}

} // namespace

// Qt keeps every size that it draws of an icon in its pixmap cache, by the icon: a picture read afresh for
// each window opened would fill that cache, up to its 10 MB, with copies of the same sizes.
QIcon picture(const char *path)
{
    static std::map<QString, QIcon> *read = nullptr;
    if (!read) {
        read = new std::map<QString, QIcon>;
        qAddPostRoutine([] {
            delete read;
            read = nullptr;
        });
    }
    const QString file = QString::fromUtf8(path);
    const auto found = read->find(file);
    return found != read->end() ? found->second : read->emplace(file, readPicture(file)).first->second;
}

} // namespace tk
