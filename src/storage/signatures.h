#pragma once
// The expected signatures of the shipped module files. The build computes
// them from the files it packs (library halvora_signatures); the program and
// the tests that open the real edition link them.
extern const char* const kSignatureQuranModule; // "DAZaruro2.dll"
extern const char* const kSignatureStoryModule; // "HVModule.dll"
extern const char* const kSignatureGlossary;    // "QGloss.dbx"
extern const char* const kSignatureRecitation;  // "QRemoteAud.dbx"
