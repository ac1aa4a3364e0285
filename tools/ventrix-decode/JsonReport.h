#pragma once

#include <QJsonArray>

class QTextStream;
struct FileOutcome;

// --json: one document {"files":[{"path", "dataMakesSense", "model",
// "sessions"}]}, each session with every stored key that has a value.
class JsonReport
{
public:
    void add(const FileOutcome &outcome);
    void write(QTextStream &out) const;

private:
    QJsonArray m_files;
};
