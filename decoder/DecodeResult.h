#pragma once

#include "Confidence.h"
#include "DecisionMargins.h"
#include "DecodeMethod.h"

#include "RunSession.h"
#include "WatchModel.h"

#include <QString>

#include <optional>
#include <vector>

// What decoding one recording gave: the outcome, the model and the sessions
// read, not yet stored anywhere. A plain value; any thread.
struct DecodeResult
{
    // YES when a model was recognised and its layout met no invalid field.
    bool dataMakesSense = false;
    // The model whose check answered YES, even when a field then cleared dataMakesSense.
    std::optional<WatchModel> model;
    // Which demodulation gave the recognised bytes.
    DecodeMethod method = DecodeMethod::Exact;
    // Whether the second demodulation ran.
    bool rescueAttempted = false;
    // Whether every decision behind the bytes the layout read was clear;
    // bytes set rather than demodulated count as clear.
    Confidence confidence = Confidence::High;
    // The smallest margin of those decisions, 1 being the smallest called
    // clear; of two readings that agree, the larger one's.
    float minimumMargin = DecisionMargins::kUnmeasured;
    // The sessions of the transfer in the order the watch sent them. An F6
    // memory brings every session it holds, stored before or not.
    std::vector<RunSession> sessions;
    // The recording's path, and why it could not be read (empty when it could).
    QString path;
    QString readFailure;

    bool wasRead() const { return readFailure.isEmpty(); }
    // "cannot read PATH: reason", or empty when the file could be read.
    QString readError() const
    {
        return wasRead() ? QString() : QStringLiteral("cannot read %1: %2").arg(path, readFailure);
    }
};
