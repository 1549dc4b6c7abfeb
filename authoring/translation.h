#pragma once
// The Qur'an translation as the build packs it: the verse texts of a source's
// JSON file, mended by that source's list of corrections.
#include "util/strutils.h"

#include <string>
#include <vector>

// One mended transcription glitch: in verse Surah:Verse, every Find becomes Replace.
struct TVerseCorrection {
    int Surah = 0;
    int Verse = 0;
    std::string Find;
    std::string Replace;
    std::string Where; // "FILE:LINE", for messages
};

// A corrections file: "#" comments, blank lines, and entries
//   SURAH:VERSE | TEXT IN THE SOURCE | TEXT PACKED
// with the fields trimmed. Faulty entries are left out and reported in
// problems as "FILE:LINE: what".
std::vector<TVerseCorrection> ReadCorrections(const std::string& file, TStringList& problems);
