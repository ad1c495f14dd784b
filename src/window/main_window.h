// The program's one window: its identifiers, its definition and the handlers
// its definition binds that belong to the window itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "window/definition.h"

namespace valdremo {

constexpr std::uint32_t kMainWindowId = 0x52010001u;
constexpr std::uint32_t kMainWindowSelfId = 0x06010000u;

constexpr std::uint32_t kCommunityAddressLabelId = 0x1601002Eu;  // 标签3
constexpr std::uint32_t kCommunityNameLabelId = 0x1601002Au;     // 标签2
constexpr std::uint32_t kGreetingLabelId = 0x16010029u;          // 标签1
constexpr std::uint32_t kPptButtonId = 0x16010016u;              // 按钮3
constexpr std::uint32_t kExcelButtonId = 0x16010015u;            // 按钮2
constexpr std::uint32_t kPaperListId = 0x16010009u;              // 组合框1
constexpr std::uint32_t kWordButtonId = 0x16010002u;             // 按钮1

constexpr std::size_t kPaperCount = 23;

class Shell;

void OnMainWindowCreated(Shell& shell);
void OnGreetingLabelFeedback(Shell& shell, std::int32_t first, std::int32_t second);

const WindowDefinition& MainWindowDefinition();

// Every window definition of the program, for the shell to load.
const WindowDefinition* const* ProgramWindowDefinitions();
std::size_t ProgramWindowDefinitionCount();

}  // namespace valdremo
