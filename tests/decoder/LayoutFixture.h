#pragma once

#include "TransferBuilder.h"
#include "TransferSynth.h"

#include "DataOutput.h"
#include "Decoder.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"
#include "VXDefaults.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace layouttest {

inline const QDateTime kImportDate(QDate(2024, 3, 9), QTime(10, 11, 12));

// A decoder wired as the application wires it: one object context, the
// session list and an exporter, with a fixed clock. Transfers reach it as
// synthesized recordings with a little noise and clock drift.
class LayoutFixture : public testing::Test
{
protected:
    LayoutFixture() : m_list(m_context)
    {
        m_output.setSessionArrayController(&m_list);
        m_decoder.setManagedObjectContext(&m_context);
        m_decoder.setSessionArrayController(&m_list);
        m_decoder.setDataOutput(&m_output);
        m_decoder.setClock([] { return kImportDate; });
    }

    ~LayoutFixture() override { VXDefaults::settings().remove(QStringLiteral("VXAutoExportPath")); }

    bool decodeRecording(const TransferBuilder &transfer)
    {
        synth::RoomOptions room;
        room.snrDb = 28.0;
        room.drift = 0.002;
        room.seed = std::uint64_t(++m_recordings);
        const QString path = m_dir.filePath(QStringLiteral("transfer-%1.wav").arg(m_recordings));
        const std::vector<std::uint8_t> stream = synth::frameTransfer(transfer.bytes());
        EXPECT_TRUE(synth::writeWav(path, synth::modulate(stream, room)));
        return m_decoder.decodeFile(path);
    }

    // The one session the last decode stored (the context's newest).
    const RunSession &newest() const
    {
        const QList<const RunSession *> all = m_context.sessions();
        if (all.isEmpty())
            throw std::logic_error("no session stored");
        return *all.back();
    }

    QString autoExportFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("auto"));
        QDir().mkpath(folder);
        VXDefaults::settings().setValue(QStringLiteral("VXAutoExportPath"), folder);
        return folder;
    }

    QTemporaryDir m_dir;
    ObjectContext m_context;
    SessionListController m_list;
    DataOutput m_output;
    Decoder m_decoder;
    int m_recordings = 0;
};

} // namespace layouttest
