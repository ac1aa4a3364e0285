#pragma once

#include <QFile>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// One case of a golden text file in data/: "== name | field | ..." starts it,
// lines starting "> " are its input, the other lines the expected text. Lines
// starting "#" are comments.
struct GoldenCase
{
    QStringList header;
    QStringList input;
    QString expected;
};

inline void PrintTo(const GoldenCase &c, std::ostream *out) { *out << c.header.join(QStringLiteral(" | ")).toStdString(); }

inline std::vector<GoldenCase> goldenCases(const QString &fileName)
{
    QFile file(QStringLiteral(VENTRIX_TEST_DATA "/") + fileName);
    std::vector<GoldenCase> cases;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return cases; // and the suite reports that it has no case
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("== ")))
            cases.push_back({line.mid(3).split(QStringLiteral(" | ")), {}, {}});
        else if (!cases.empty() && line.startsWith(QStringLiteral("> ")))
            cases.back().input.append(line.mid(2));
        else if (!cases.empty() && !line.isEmpty() && !line.startsWith(u'#'))
            cases.back().expected += line + u'\n';
    }
    return cases;
}

inline std::string goldenCaseName(const testing::TestParamInfo<GoldenCase> &info)
{
    return info.param.header.value(0).replace(u' ', u'_').toStdString();
}

// VENTRIX_UPDATE_GOLDEN=file appends the case with the actual text there, to be
// read before it replaces the golden file.
inline void expectGolden(const GoldenCase &c, const QString &actual)
{
    if (QFile update(qEnvironmentVariable("VENTRIX_UPDATE_GOLDEN")); update.open(QIODevice::Append | QIODevice::Text)) {
        QString text = "== " + c.header.join(QStringLiteral(" | ")) + u'\n';
        for (const QString &line : c.input)
            text += "> " + line + u'\n';
        update.write((text + actual + u'\n').toUtf8());
    }
    EXPECT_EQ(actual.toStdString(), c.expected.toStdString());
}

inline QString number(double value) { return QString::number(value, 'g', 6); }
inline QString point(QPointF p) { return number(p.x()) + u',' + number(p.y()); }
inline QString rect(const QRectF &r) { return point(r.topLeft()) + u' ' + number(r.width()) + u'x' + number(r.height()); }
