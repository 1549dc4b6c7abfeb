#pragma once
// The story module: the resource library "HVModule.dll" with one enciphered
// resource per prophet, its page bodies and outlines.
#include "content/prophets.h"
#include "content/quran.h"
#include "storage/signatures.h"
#include "storage/verification.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TResourceLibrary;

// One node of a tree the window layer fills (an outline, the prophets tree);
// Parent is the index of the parent node in the list, -1 for a root.
struct TTreeNodeSpec {
    std::string Text;
    int32_t Data = 0;
    int ImageIndex = 0;
    int SelectedIndex = 0;
    int Parent = -1;
};
using TOutline = std::vector<TTreeNodeSpec>;

// Outline node data.
enum : int32_t { kOutlineRoot = 0, kOutlineTopic = -40, kOutlineQuranRef = -80 };

class TProphetsHelper : public TVerifiableObject {
public:
    TProphetsHelper(std::string moduleFile, TQuranHelper* quranModule,
                    std::string expectedSignature = kSignatureStoryModule);
    ~TProphetsHelper() override;

    bool Verify() override;
    std::string GetName() override;

    int32_t CurrentProphet() const { return FCurrentProphet; }
    void SelectProphet(int32_t prophet) { FCurrentProphet = prophet; }
    void ClearProphet() { FCurrentProphet = -8; }

    void LoadAll();
    void LoadStory(int32_t prophet, TStringList* list = nullptr);
    std::string StoryPageBody(int32_t prophet, bool recitationLinks);
    TOutline FillOutline(int32_t prophet, bool composite);

    std::string TopicTitle(int32_t prophet, int32_t index);
    std::string TopicTitle(int32_t index) { return TopicTitle(FCurrentProphet, index); }
    int32_t FindTopic(int32_t prophet, const std::string& title);
    int32_t FindTopic(const std::string& title) { return FindTopic(FCurrentProphet, title); }
    TQuranExcerpt GetExcerpt(int32_t prophet, int32_t index);
    TQuranExcerpt GetExcerpt(int32_t index) { return GetExcerpt(FCurrentProphet, index); }
    std::string ExcerptRefText(int32_t prophet, int32_t index);
    int32_t FindExcerpt(int32_t prophet, const std::string& refText);
    int32_t FindExcerpt(const std::string& refText) { return FindExcerpt(FCurrentProphet, refText); }
    int32_t TopicCount(int32_t prophet);
    int32_t ExcerptCount(int32_t prophet);

    const TProphetStory& Story(int32_t prophet) const;
    const std::string& ModuleFile() const { return FModuleFile; }

private:
    TProphetStory& StoryRef(int32_t prophet);

    int32_t FCurrentProphet = 0;
    std::string FModuleFile;
    std::string FExpectedSignature;
    TQuranHelper* FQuranModule;
    std::array<TProphetStory, 29> FStories;
    std::unique_ptr<TResourceLibrary> FModuleHandle;
};

extern const char* const kStoryModuleFile; // "HVModule.dll"
