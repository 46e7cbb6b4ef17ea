#include "TestRegistry.h"
#include "ui/dialogs/PropertiesDialog.h"
#include "ui/platform/QtPrompter.h"

#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The names the dialog offers for choosing in its folder, in order.
QStringList Offered(QFileDialog& dialog)
{
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
        const QModelIndex item = list->model()->index(row, 0, list->rootIndex());
        if (item.flags() & Qt::ItemIsEnabled)
            names << item.data().toString();
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace

class PictureFilterTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void EachLineShowsItsPatternsOnce()
    {
        QFileDialog dialog;
        QtPrompter::SetUpFileDialog(dialog, PropertiesDialog::PictureFilters(), 2);
        QCOMPARE(
            dialog.nameFilters(),
            (QStringList{QStringLiteral("すべてのファイル (*)"),
                         QStringLiteral("すべての画像ファイル (*.ICO *.CUR *.PCX *.BMP *.DIB *.RLE *.GIF *.JPG "
                                        "*.JPE *.JPEG)"),
                         QStringLiteral("ビットマップファイル (*.BMP *.DIB *.PCX)"),
                         QStringLiteral("ＪＰＥＧファイル (*.JPG *.JPE *.JPEG)"),
                         QStringLiteral("ＧＩＦファイル (*.GIF)"), QStringLiteral("アイコンファイル (*.ICO *.CUR)")}));
    }

    void DialogOffersTheFiles_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("all files") << 1
                                   << QStringList{QStringLiteral("BackMap"), QStringLiteral("notes.txt"),
                                                  QStringLiteral("photo.jpg"), QStringLiteral("SKY.GIF")};
        QTest::newRow("all pictures, either case")
            << 2 << QStringList{QStringLiteral("photo.jpg"), QStringLiteral("SKY.GIF")};
        QTest::newRow("GIF") << 5 << QStringList{QStringLiteral("SKY.GIF")};
    }
    void DialogOffersTheFiles()
    {
        QFETCH(int, line);
        QFETCH(QStringList, offered);
        QTemporaryDir folder;
        for (const char* name : {"BackMap", "notes.txt", "photo.jpg", "SKY.GIF"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFileDialog dialog;
        QtPrompter::SetUpFileDialog(dialog, PropertiesDialog::PictureFilters(), line);
        dialog.setDirectory(folder.path());
        QTRY_COMPARE(Offered(dialog), offered);
    }
};

SORAFUMI_TEST(PictureFilterTest)
#include "PictureFilterTest.moc"
