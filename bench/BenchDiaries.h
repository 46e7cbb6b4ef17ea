#pragma once

#include <QHash>
#include <QString>
#include <QTemporaryDir>

// The diaries of one run, in a temporary folder that goes with the run. Each
// size is generated once; benchmarks that change a diary work on a copy.
class BenchDiaries
{
public:
    BenchDiaries();
    ~BenchDiaries();
    BenchDiaries(const BenchDiaries&) = delete;
    BenchDiaries& operator=(const BenchDiaries&) = delete;

    static BenchDiaries& Instance();

    bool IsValid() const { return dir_.isValid(); }
    QString Folder() const { return dir_.path(); }

    // The diary of this many pages, never changed by any benchmark. Empty with
    // the reason in error when it could not be made.
    QString Pristine(qint32 pages, QString& error);
    // A fresh copy of it under one name per size, replacing the earlier copy
    // (a new file, not a rewrite of the old one), flushed to disk.
    QString FreshCopy(qint32 pages, QString& error);
    // A copy made once in the run, which benchmarks may change page by page.
    QString SharedCopy(qint32 pages, QString& error);

    // The password of every encrypted diary of the run.
    static QString Password() { return QStringLiteral("空の手紙"); }
    // The pristine diary encrypted, made once per size as locking a diary
    // makes it, never changed by any benchmark.
    QString Encrypted(qint32 pages, QString& error);
    // A copy of it made once in the run, which benchmarks may change.
    QString SharedEncryptedCopy(qint32 pages, QString& error);

private:
    // A copy of `from` named `name` with the page count, made the first time
    // and kept in `copies`. Empty when `from` is.
    QString CopyOnce(QHash<qint32, QString>& copies, qint32 pages, const QString& from, const QString& name,
                     QString& error);

    QTemporaryDir dir_;
    QHash<qint32, QString> pristine_;
    QHash<qint32, QString> shared_;
    QHash<qint32, QString> encrypted_;
    QHash<qint32, QString> sharedEncrypted_;
};
