#pragma once

#include "core/transfer/DiaryExport.h"

#include <QByteArray>
#include <QString>

// Finds what would keep a page from coming back byte for byte when its
// exported text file is imported, or what another program could not read.
class RoundTripCheck
{
public:
    // `readBack`: the file is one the import reads (a text file, not HTML).
    RoundTripCheck(ExportRequest::Encoding encoding, bool readBack) : encoding_(encoding), readBack_(readBack) {}

    // A field's stored bytes and the text they decode to.
    void Header(const QByteArray& stored, const QString& text);
    void Body(const QByteArray& stored, const QString& text);

    // ExportFlaw::Reason flags; zero when the page comes back as it is.
    int Reasons() const { return reasons_; }
    // The characters that come back with another code, each once.
    const QString& Changed() const { return changed_; }

private:
    void Characters(const QByteArray& stored, const QString& text);
    void NameChanged(const QByteArray& stored);

    ExportRequest::Encoding encoding_;
    bool readBack_;
    int reasons_ = 0;
    QString changed_;
};
