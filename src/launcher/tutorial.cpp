#include "launcher/tutorial.h"

#include "build_config.h"
#include "shell/shell.h"
#include "window/main_window.h"

namespace valdremo {

const char* TutorialAddress(std::int32_t paper, std::int32_t subject) {
  if (paper < kFirstPaper || paper > kLastPaper || subject < 1 || subject > 3) return nullptr;
  return build::kTutorialAddresses[paper - 1][subject - 1];
}

void OpenTutorialPage(Shell& shell, Subject subject) {
  // Both reads are made afresh on every click: the list may have changed.
  const std::int32_t index = shell.CurrentSelection(kMainWindowId, kPaperListId);
  const std::int32_t paper = shell.ItemValue(kMainWindowId, kPaperListId, index);
  const char* address = TutorialAddress(paper, static_cast<std::int32_t>(subject));
  if (address == nullptr) return;
  shell.desktop().OpenAddress(address);
}

void OnWordButtonClicked(Shell& shell) { OpenTutorialPage(shell, Subject::Word); }

void OnExcelButtonClicked(Shell& shell) { OpenTutorialPage(shell, Subject::Excel); }

void OnPptButtonClicked(Shell& shell) { OpenTutorialPage(shell, Subject::PowerPoint); }

}  // namespace valdremo
