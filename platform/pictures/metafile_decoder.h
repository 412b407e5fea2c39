#pragma once
// The program's side of the metafile decoder (platform/pictures/metafile_helper.cpp):
// one confined process, kept between pictures and fed over a socket.
#include "platform/core/expected.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

namespace platform
{

class MetafileDecoder : public QObject
{
public:
    // program: the decoder's path, as bytes. The decoder is ended after
    // idleMs without a picture (with an event loop running), or after every
    // picture when idleMs is 0.
    MetafileDecoder(QByteArray program, int idleMs, QObject* parent = nullptr);
    ~MetafileDecoder() override;
    MetafileDecoder(const MetafileDecoder&) = delete;
    MetafileDecoder& operator=(const MetafileDecoder&) = delete;

    // WMF or EMF bytes drawn at renderSize (empty: the decoder picks), within
    // two seconds, or a short reason; a decoder that failed is ended, and the
    // next picture starts a fresh one.
    Expected<QImage> render(const QByteArray& bytes, QSize renderSize);

    // The running decoder's process id; 0 when none runs.
    qint64 processId() const { return pid_ > 0 ? pid_ : 0; }
    void end();

private:
    bool start();
    bool exchange(const QByteArray& request, QImage& img, qint64 deadline);

    QByteArray program_;
    int idleMs_;
    QTimer idle_;
    int pid_ = -1;
    int socket_ = -1;
    // Wall time it has spent starting and decoding, an upper bound of the
    // processor time it has used (it decodes on one thread).
    qint64 busyMs_ = 0;
};

} // namespace platform
