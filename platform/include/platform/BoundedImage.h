#pragma once
// Reads pictures from files the program did not write itself (a user's
// button picture, a slideshow photo, a template's artwork) without trusting
// the file: its bytes come through BoundedFile (a regular file once links
// are followed, no more than MaximumFileBytes) and are decoded from memory,
// and a picture that would take more than MaximumPixels once decoded is
// refused from its header, before a pixel is decoded. A named pipe cannot
// block the reader, a link to an endless device cannot feed it, and a small
// file that declares an enormous picture cannot fill memory.
//
// Any thread. A refused or undecodable file gives a null picture and, in
// `error`, the reason: BoundedFile's ("no such file", "not a regular file",
// "the file is too large"), "the file is not a picture that can be read" or
// "the picture is too large".

#include <QImage>
#include <QString>
#include <functional>

class QImageReader;

class BoundedImage {
public:
    BoundedImage() = delete;

    // More than any photo or menu picture the program reads.
    static constexpr qint64 MaximumFileBytes = qint64(256) << 20;
    // 128 MB as 32-bit pixels (8192 × 4096): the bound Qt's reader keeps
    // to by default, here for every format, and known before decoding.
    static constexpr qint64 MaximumPixels = qint64(8192) * 4096;

    // Readies a reader on the file's bytes before it decodes (turning the
    // picture upright, a scaled size); false, with a reason in `error`,
    // refuses the picture.
    using Preparation = std::function<bool(QImageReader& reader, QString* error)>;

    // The picture in the file at `path`, decoded as QImage decodes a file.
    static QImage read(const QString& path, QString* error = nullptr);
    // The same, turned upright as its orientation tag says in any format.
    static QImage readUpright(const QString& path, QString* error = nullptr);
    // The picture decoded by a reader that `prepare` readied; the bound
    // applies to the size the reader will decode (its scaled size when set).
    static QImage read(const QString& path, const Preparation& prepare, QString* error = nullptr);
};
