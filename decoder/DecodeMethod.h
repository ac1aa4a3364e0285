#pragma once

#include <QString>

// Which demodulation gave the bytes of a decode: the exact one, or the second
// one that reads noisy rooms after the exact one recognised nothing.
enum class DecodeMethod { Exact, Rescued };

// "exact" or "rescued", as the command-line decoder prints it.
inline QString decodeMethodName(DecodeMethod method)
{
    return method == DecodeMethod::Rescued ? QStringLiteral("rescued") : QStringLiteral("exact");
}
