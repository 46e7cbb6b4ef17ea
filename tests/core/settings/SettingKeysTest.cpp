#include "core/settings/SettingKeys.h"
#include "TestRegistry.h"
#include "core/settings/ProgramVersion.h"
#include "core/settings/SettingValue.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The key table and the version: a row missing, out of order or twice would
// read or write the wrong place of every user's settings file.
class SettingKeysTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void OneRowPerKeyAndPlace()
    {
        QSet<QString> places;
        const std::vector<SettingKeys::Row>& rows = SettingKeys::All();
        QCOMPARE(rows.size(), std::size_t(SettingKey::ImportFolder) + 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const QString place = rows[i].section + u'/' + rows[i].name;
            QVERIFY2(std::size_t(rows[i].key) == i, qPrintable(place));
            QVERIFY2(!places.contains(place), qPrintable(place));
            places.insert(place);
        }
    }

    // A default is read back as stored text, so it must be one its readers accept.
    void DefaultsHaveTheirKeysForm()
    {
        for (const SettingKeys::Row& row : SettingKeys::All()) {
            const QString text = SettingKeys::DefaultText(row.key);
            const bool fits = row.form == SettingKeys::Form::Number    ? SettingValue::ToNumber(text).has_value()
                              : row.form == SettingKeys::Form::Switch  ? text == u'0' || text == u'1'
                              : row.form == SettingKeys::Form::Boolean ? SettingValue::ToBoolean(text).has_value()
                              : row.form == SettingKeys::Form::Colour  ? SettingValue::ToInt32(text).has_value()
                                                                       : true;
            QVERIFY2(fits, qPrintable(row.name + QStringLiteral(": ") + text));
        }
    }

    // Major, minor and revision in plain decimal: project(VERSION) needs all three.
    void VersionHasThreePlainNumbers()
    {
        static const QRegularExpression form(QStringLiteral("^(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*)){2}$"));
        QVERIFY2(form.match(ProgramVersion::Text()).hasMatch(), qPrintable(ProgramVersion::Text()));
    }
};

SORAFUMI_TEST(SettingKeysTest)
#include "SettingKeysTest.moc"
