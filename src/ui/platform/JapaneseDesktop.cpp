#include "ui/platform/JapaneseDesktop.h"

#include "ui/platform/SilentPasswords.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void JapaneseDesktop::Install(QApplication& application)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));

    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"));

    // Without a desktop that names its icon theme, take a common one.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor")) {
        for (const QString& theme : {QStringLiteral("breeze"), QStringLiteral("Adwaita")}) {
            if (QFileInfo::exists(QStringLiteral("/usr/share/icons/") + theme + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(theme);
                break;
            }
        }
    }

    // Every window shows the program's icon: the installed one, else the one
    // built in, for a program run from its build folder.
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("sorafumi"), QIcon(QStringLiteral(":/images/icon.png"))));

    SilentPasswords::Install();

    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}
