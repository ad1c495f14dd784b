// Turns the selected paper and the clicked button into a tutorial address and
// has the desktop open it.
#pragma once

#include <cstdint>

namespace valdremo {

class Shell;

enum class Subject : std::int32_t { Word = 1, Excel = 2, PowerPoint = 3 };

constexpr std::int32_t kFirstPaper = 1;
constexpr std::int32_t kLastPaper = 23;

// One of the 69 fixed addresses, or null when the pair is outside them.
const char* TutorialAddress(std::int32_t paper, std::int32_t subject);

// Reads the paper list as it is now and opens that paper's page for the
// subject; does nothing when no valid paper is selected.
void OpenTutorialPage(Shell& shell, Subject subject);

void OnWordButtonClicked(Shell& shell);
void OnExcelButtonClicked(Shell& shell);
void OnPptButtonClicked(Shell& shell);

}  // namespace valdremo
