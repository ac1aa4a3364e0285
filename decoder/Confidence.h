#pragma once

#include <QCoreApplication>
#include <QString>

// Whether every decision behind the values of a transfer was clear ("high")
// or some value may have been read wrongly ("low").
enum class Confidence { High, Low };

// "high" or "low", as the command-line decoder prints it.
inline QString confidenceName(Confidence confidence)
{
    return confidence == Confidence::Low ? QStringLiteral("low") : QStringLiteral("high");
}

// What the status bar says after a low-confidence transfer.
inline QString noisyTransferMessage()
{
    return QCoreApplication::translate(
        "Decoder", "The transfer was noisy: some values may be wrong. Hold the watch closer and transfer again.");
}
