#pragma once

#include "DecodeMethod.h"
#include "Decoder.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "TransferImporter.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What decoding one recording gave.
struct FileOutcome
{
    QString path;
    QString readError;                      // empty when the file could be read
    bool decoded = false;                   // the decode's answer
    std::optional<WatchModel> model;        // the model whose check passed
    DecodeMethod method = DecodeMethod::Exact; // which demodulation gave the bytes
    Confidence confidence = Confidence::High; // whether every decision the layout read was clear
    QList<const RunSession *> sessions;     // inserted by this file, in insertion order
    int alreadyStored = 0;                  // sessions of the file the store held already
    QString saveError;                      // why the save after the import failed, if it did
};

// The decoder and the importer wired as the application wires them, around
// one object context and its session list, shared by every file of an
// invocation (so an F6 memory given twice adds its sessions once). No
// automatic export: the command line exports only where --export-dir says.
class TransferDecoding
{
public:
    using BytesHook = std::function<void(const Decoder &)>;

    TransferDecoding();

    ObjectContext &context() { return m_context; }

    // Decodes one recording and stores its new sessions; beforeCleanUp sees
    // the demodulated bytes of a file that could be read.
    FileOutcome decode(const QString &path, const BytesHook &beforeCleanUp = {});

private:
    ObjectContext m_context;
    SessionListController m_list;
    Decoder m_decoder;
    TransferImporter m_importer;
};
