#include "window/main_window.h"

#include "build_config.h"
#include "launcher/tutorial.h"
#include "shell/handler.h"

namespace valdremo {

void OnMainWindowCreated(Shell&) {}

void OnGreetingLabelFeedback(Shell&, std::int32_t, std::int32_t) {}

namespace {

constexpr const char* kPaperTexts[kPaperCount] = {
    "Kestrune试卷1",  "Kestrune试卷2",  "Kestrune试卷3",  "Kestrune试卷4",  "Kestrune试卷5",
    "Kestrune试卷6",  "Kestrune试卷7",  "Kestrune试卷8",  "Kestrune试卷9",  "Kestrune试卷10",
    "Kestrune试卷11", "Kestrune试卷12", "Kestrune试卷13", "Kestrune试卷14", "Kestrune试卷15",
    "Kestrune试卷16", "Kestrune试卷17", "Kestrune试卷18", "Kestrune试卷19", "Kestrune试卷20",
    "Kestrune试卷21", "Kestrune试卷22", "Kestrune试卷23",
};

// Each paper's value is its number; the launcher relies on the value, never
// on the item's position or text.
constexpr std::int32_t kPaperValues[kPaperCount] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                    13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

constexpr LabelProperties kCommunityAddressText{
    build::kCommunityAddress, kBlack, kDefaultColour, 0, false, 1};
constexpr LabelProperties kCommunityNameText{"Halvick论坛", kBlack, kDefaultColour, 0, false, 1};
constexpr LabelProperties kGreetingText{
    "祝大家完美通过考试\r\n", kBlack, kDefaultColour, 0, false, 1};

constexpr ButtonProperties kWordCaption{"WORD教程", 0, 1, 1};
constexpr ButtonProperties kExcelCaption{"EXCEL教程", 0, 1, 1};
constexpr ButtonProperties kPptCaption{"PPT教程", 0, 1, 1};

constexpr ComboBoxProperties kPaperList{
    1,      "",     0,  0,           0,           false,        1,
    kBlack, kWhite, -1, kPaperTexts, kPaperCount, kPaperValues, kPaperCount};

constexpr EventBinding kWindowBindings[] = {{event::kWindowCreated, &Bind<&OnMainWindowCreated>}};
constexpr EventBinding kGreetingBindings[] = {
    {event::kLabelFeedback, &Bind<&OnGreetingLabelFeedback>}};
constexpr EventBinding kPptBindings[] = {{event::kButtonClick, &Bind<&OnPptButtonClicked>}};
constexpr EventBinding kExcelBindings[] = {{event::kButtonClick, &Bind<&OnExcelButtonClicked>}};
constexpr EventBinding kWordBindings[] = {{event::kButtonClick, &Bind<&OnWordButtonClicked>}};

constexpr ControlDefinition Label(std::uint32_t id, const char* name, std::int32_t left,
                                  std::int32_t top, std::int32_t width, std::int32_t height,
                                  const LabelProperties& text, const EventBinding* bindings,
                                  std::size_t bindingCount) {
  return {id,       ControlKind::Label,
          name,     left,
          top,      width,
          height,   0,
          "",       true,
          false,    false,
          0,        0,
          bindings, bindingCount,
          &text,    nullptr,
          nullptr};
}

constexpr ControlDefinition Button(std::uint32_t id, const char* name, std::int32_t top,
                                   const ButtonProperties& caption,
                                   const EventBinding (&bindings)[1]) {
  return {id,       ControlKind::Button,
          name,     208,
          top,      112,
          48,       0,
          "",       true,
          false,    true,
          0,        0,
          bindings, 1,
          nullptr,  &caption,
          nullptr};
}

// In definition order: this order decides stacking and, reversed, creation.
constexpr ControlDefinition kControls[] = {
    Label(kCommunityAddressLabelId, "标签3", 264, 56, 152, 24, kCommunityAddressText, nullptr, 0),
    Label(kCommunityNameLabelId, "标签2", 264, 16, 160, 32, kCommunityNameText, nullptr, 0),
    Label(kGreetingLabelId, "标签1", 40, 120, 128, 32, kGreetingText, kGreetingBindings, 1),
    Button(kPptButtonId, "按钮3", 216, kPptCaption, kPptBindings),
    Button(kExcelButtonId, "按钮2", 160, kExcelCaption, kExcelBindings),
    {kPaperListId, ControlKind::ComboBox, "组合框1", 48, 64, 120, 20, 0, "", true, false, true, 0,
     0, nullptr, 0, nullptr, nullptr, &kPaperList},
    Button(kWordButtonId, "按钮1", 104, kWordCaption, kWordBindings),
};

constexpr WindowDefinition kMainWindow{
    kMainWindowId,
    kMainWindowSelfId,
    "Valdremo二级office教学视频",
    50,
    50,
    459,
    319,
    StartPosition::CentreScreen,
    /*minimiseButton=*/true,
    /*maximiseButton=*/false,
    /*escCloses=*/true,
    /*enterMovesFocus=*/false,
    /*visible=*/true,
    kDefaultColour,
    kWindowBindings,
    1,
    kControls,
    sizeof kControls / sizeof kControls[0],
};

constexpr const WindowDefinition* kDefinitions[] = {&kMainWindow};

}  // namespace

const WindowDefinition& MainWindowDefinition() { return kMainWindow; }

const WindowDefinition* const* ProgramWindowDefinitions() { return kDefinitions; }

std::size_t ProgramWindowDefinitionCount() { return 1; }

}  // namespace valdremo
