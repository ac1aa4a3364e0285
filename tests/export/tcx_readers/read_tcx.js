// Reads TCX files with @sports-alliance/sports-lib, as a training log does,
// and compares what it finds with what the test expects of each session.
//
//   node read_tcx.js EXPECTATIONS.json
//
// EXPECTATIONS.json: [{"file", "laps", "duration", "distance", "averageHR",
// "maxHR", "calories"}]; durations in seconds, distances in metres, absent
// heart rates and calories as null. Without samples the library gives heart
// rates per lap only, so the session's figures are taken back from the laps:
// the time-weighted average of the lap averages, rounded, and the highest
// lap maximum. Prints one line per mismatch; exit status 1 when there is one.
'use strict';
const fs = require('fs');
const { SportsLib } = require('@sports-alliance/sports-lib');
const { DOMParser } = require('@xmldom/xmldom');

// Summed lap times and distances may differ from the session's in the last digits.
const TOLERANCE = 0.05;

function stat(holder, name) {
  const found = holder.getStat(name);
  return found ? found.getValue() : null;
}

function heartRatesFromLaps(laps) {
  let weighted = 0;
  let time = 0;
  let max = null;
  for (const lap of laps) {
    const average = stat(lap, 'Average Heart Rate');
    const duration = stat(lap, 'Duration') || 0;
    if (average !== null) {
      weighted += average * duration;
      time += duration;
    }
    const lapMax = stat(lap, 'Maximum Heart Rate');
    if (lapMax !== null && (max === null || lapMax > max))
      max = lapMax;
  }
  return { averageHR: time > 0 ? Math.round(weighted / time) : null, maxHR: max };
}

async function read(file) {
  const errors = [];
  const parser = new DOMParser({ onError: (level, message) => errors.push(`${level}: ${message}`) });
  const document = parser.parseFromString(fs.readFileSync(file, 'utf8'), 'application/xml');
  if (errors.length)
    throw new Error(errors.join('; '));
  const event = await SportsLib.importFromTCX(document);
  const activity = event.getFirstActivity();
  const laps = activity.getLaps();
  return {
    laps: laps.length,
    duration: stat(activity, 'Duration'),
    distance: stat(activity, 'Distance'),
    calories: stat(activity, 'Energy'),
    ...heartRatesFromLaps(laps),
  };
}

function same(expected, found) {
  if (expected === null || found === null)
    return expected === found;
  return Math.abs(expected - found) <= TOLERANCE;
}

async function main(expectationsPath) {
  const expectations = JSON.parse(fs.readFileSync(expectationsPath, 'utf8'));
  let mismatches = 0;
  for (const expected of expectations) {
    let found;
    try {
      found = await read(expected.file);
    } catch (error) {
      console.log(`${expected.file}: cannot be read: ${error.message}`);
      ++mismatches;
      continue;
    }
    for (const key of ['laps', 'duration', 'distance', 'averageHR', 'maxHR', 'calories']) {
      if (!same(expected[key], found[key])) {
        console.log(`${expected.file}: ${key} is ${found[key]}, expected ${expected[key]}`);
        ++mismatches;
      }
    }
  }
  console.log(`${expectations.length} files read, ${mismatches} mismatches`);
  return mismatches === 0 ? 0 : 1;
}

main(process.argv[2]).then(status => process.exit(status), error => {
  console.error(error);
  process.exit(1);
});
