#include "ExportDocument.h"
#include "ExportFixture.h"
#include "TcxActivity.h"
#include "VXDistanceFormatter.h"
#include "VXNumberText.h"
#include "VXSpeedFormatter.h"

#include <functional>
#include <map>

// The value texts of values.tsv: one function of the export or its formatters
// per row, called with the row's input in the row's locale and settings.
namespace {

using Input = QStringList; // the row's arguments, split at "|"

std::optional<qint64> number(const QString &text)
{
    return text == u"-" ? std::nullopt : std::optional<qint64>(text.toLongLong());
}

// "-" is no date; a "Z" at the end is UTC, anything else local time.
QDateTime dateTime(const QString &text) { return QDateTime::fromString(text, Qt::ISODate); }

// "text:…" and "date:…" stand for values of those types, "-" for no value.
QVariant variant(const QString &text)
{
    if (text == u"-")
        return {};
    if (text.startsWith(u"text:"))
        return text.mid(5);
    if (text.startsWith(u"date:"))
        return QDate::fromString(text.mid(5), Qt::ISODate);
    return text.contains(u'.') ? QVariant(text.toDouble()) : QVariant(text.toInt());
}

QString orNone(const std::optional<QString> &text) { return text.value_or(QStringLiteral("<none>")); }

template<typename Formatter> QString parsed(const QString &text)
{
    QVariant value = 17;
    QString error;
    if (!Formatter().getObjectValue(text, &value, &error))
        return value == QVariant(17) && !error.isEmpty() ? QStringLiteral("rejected") : QStringLiteral("bad rejection");
    if (!error.isEmpty())
        return QStringLiteral("error set: ") + error;
    return value.isValid() ? value.toString() : QStringLiteral("<none>");
}

QString calories(const Input &in)
{
    QList<qint64> times;
    for (const QString &time : in[1].split(u',', Qt::SkipEmptyParts))
        times << time.toLongLong();
    QStringList shares;
    for (int share : TcxActivity::sharedCalories(in[0].toInt(), times))
        shares << QString::number(share);
    return shares.join(u',');
}

const std::map<QString, std::function<QString(const Input &)>> &functions()
{
    using D = DataOutput;
    static const VXUnits metric(true), imperial(false);
    static const std::map<QString, std::function<QString(const Input &)>> table = {
        {"time", [](const Input &in) { return D::timeStringFromSeconds(number(in[0]), false); }},
        {"time.tenths", [](const Input &in) { return D::timeStringFromSeconds(number(in[0]), true); }},
        {"date", [](const Input &in) { return D::dateStringFromDate(dateTime(in[0]), false); }},
        {"date.fixed", [](const Input &in) { return D::dateStringFromDate(dateTime(in[0]), true); }},
        {"birthday", [](const Input &in) { return D::birthdayStringFromDate(dateTime(in[0])); }},
        {"speed", [](const Input &in) { return D::speedFromData(number(in[0])); }},
        {"speed.metric", [](const Input &in) { return D::speedFromData(number(in[0]), metric); }},
        {"speed.imperial", [](const Input &in) { return D::speedFromData(number(in[0]), imperial); }},
        {"pace", [](const Input &in) { return D::paceFromData(number(in[0])); }},
        {"pace.imperial", [](const Input &in) { return D::paceFromData(number(in[0]), imperial); }},
        {"distance", [](const Input &in) { return D::distanceFromData(number(in[0])); }},
        {"distance.metric", [](const Input &in) { return D::distanceFromData(number(in[0]), metric); }},
        {"distance.imperial", [](const Input &in) { return D::distanceFromData(number(in[0]), imperial); }},
        {"length", [](const Input &in) { return D::lengthFromData(number(in[0])); }},
        {"weight.metric", [](const Input &in) { return D::weightFromData(number(in[0]), metric); }},
        {"weight.imperial", [](const Input &in) { return D::weightFromData(number(in[0]), imperial); }},
        {"distanceFormatter", [](const Input &in) { return orNone(VXDistanceFormatter().stringForObjectValue(variant(in[0]))); }},
        {"speedFormatter", [](const Input &in) { return orNone(VXSpeedFormatter().stringForObjectValue(variant(in[0]))); }},
        {"distanceParse", [](const Input &in) { return parsed<VXDistanceFormatter>(in[0]); }},
        {"number.plain", [](const Input &in) { return VXNumberText::plain(in[0].toDouble(), in[1].toInt()); }},
        {"number.locale", [](const Input &in) { return VXNumberText::localeFormatted(in[0].toDouble(), in[1].toInt()); }},
        {"fill.locale", [](const Input &in) { return VXNumberText::fillFormat(in[0], in[1].toDouble(), VXNumberText::Separator::Locale); }},
        {"fill.plain", [](const Input &in) { return VXNumberText::fillFormat(in[0], in[1].toDouble(), VXNumberText::Separator::Plain); }},
        {"csvField", [](const Input &in) { return ExportDocument::csvField(in[0]); }},
        {"sharedCalories", calories},
    };
    return table;
}

QString unescaped(QString text)
{
    return text.replace(QStringLiteral("\\n"), QStringLiteral("\n")).replace(QStringLiteral("\\r"), QStringLiteral("\r"));
}

using ValuesTest = ExportFixture;

TEST_F(ValuesTest, EveryRowOfTheTableGivesItsText)
{
    const QStringList lines = QString::fromUtf8(contents(QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/values.tsv"))).split(u'\n');
    int cases = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty() || lines[i].startsWith(u'#'))
            continue;
        SCOPED_TRACE("values.tsv:" + std::to_string(i + 1));
        const QStringList field = lines[i].split(u'\t');
        ASSERT_EQ(field.size(), 5);
        ASSERT_TRUE(functions().count(field[0])) << "unknown function " << field[0].toStdString();
        VXDefaults::settings().clear();
        field[1] == u"de_DE" ? German() : UnitedStates();
        for (const QString &setting : field[2].split(u';', Qt::SkipEmptyParts)) {
            const QString value = setting.section(u'=', 1);
            if (setting != u"-")
                setSetting(setting.section(u'=', 0, 0), value == u"true" ? QVariant(true) : QVariant(value));
        }
        EXPECT_EQ(functions().at(field[0])(unescaped(field[3]).split(u'|')).toStdString(), unescaped(field[4]).toStdString());
        ++cases;
    }
    EXPECT_GT(cases, 90);
}

TEST(ExportDocument, XmlTextEscapesMarkupAndDropsWhatXmlCannotHold)
{
    EXPECT_EQ(ExportDocument::xmlText(QStringLiteral("a<b>&c\"d'")), "a&lt;b&gt;&amp;c\"d'");
    EXPECT_EQ(ExportDocument::xmlText(QStringLiteral("x\x01y\x1fz\r\n\t")), "xyz&#13;\n\t");
    const QString pair = QString::fromUcs4(U"\U0001F3C3");
    EXPECT_EQ(ExportDocument::xmlText(pair + QChar(0xD800) + u'a' + QChar(0xFFFE)), pair + u'a');
}

} // namespace
