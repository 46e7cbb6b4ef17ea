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

private:
    QTemporaryDir dir_;
    QHash<qint32, QString> pristine_;
    QHash<qint32, QString> shared_;
};
