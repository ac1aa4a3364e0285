#pragma once

#include "ByteReader.h"

class QTextStream;

// --dump-bytes: the demodulated bytes, lowercase two-digit hex separated by
// single spaces, 16 per line.
void dumpBytes(QTextStream &out, const ByteArray &bytes);
