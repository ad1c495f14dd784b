#include "win32/win32_desktop.h"

#include <shellapi.h>

#include "shell/shell.h"
#include "win32/wide.h"

namespace valdremo::win32 {
namespace {

// Child identifiers at or above this are not controls of ours (menus,
// accelerators), so their commands are not passed back.
constexpr UINT kFirstNonControlId = 20000;

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr wchar_t kFailureTitle[] = L"Valdremo二级office教学视频";

HWND H(NativeWindow window) { return static_cast<HWND>(window); }

HFONT DefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

COLORREF Colour(std::uint32_t colour) {
  return colour == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour);
}

DWORD CommonStyle(std::uint32_t styleBits) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (styleBits & style::kDisabled) style |= WS_DISABLED;
  if (styleBits & style::kTabStop) style |= WS_TABSTOP;
  return style;
}

Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB:
      return Key::Tab;
    case VK_RETURN:
      return Key::Enter;
    case VK_ESCAPE:
      return Key::Escape;
    case VK_F1:
      return Key::F1;
    default:
      return Key::Other;
  }
}

bool Held(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

// Classes stay registered for the rest of the process; a later desktop in
// the same process reuses them.
bool Register(const WNDCLASSEXW& windowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing)) return true;
  return RegisterClassExW(&windowClass) != 0;
}

template <typename Self>
Self* InstanceOf(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<Self*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

Win32Desktop::Win32Desktop(HINSTANCE instance) : instance_(instance) {}

Win32Desktop::~Win32Desktop() {
  for (int i = 0; i < brushCount_; ++i) DeleteObject(brushes_[i].brush);
}

bool Win32Desktop::RegisterClasses() {
  if (classesRegistered_) return true;
  // No background brush: both paint their whole area themselves, the face
  // colour read at each paint so a colour change shows at the next one.
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = &Win32Desktop::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kWindowClass;
  if (!Register(windowClass)) return false;

  windowClass.lpfnWndProc = &Win32Desktop::LabelProc;
  windowClass.lpszClassName = kLabelClass;
  if (!Register(windowClass)) return false;
  classesRegistered_ = true;
  return true;
}

Size Win32Desktop::PrimaryScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

NativeWindow Win32Desktop::CreateTopLevel(const WindowDefinition& definition, Rect outer) {
  if (!RegisterClasses()) return nullptr;
  const Wide title(definition.title);
  return CreateWindowExW(0, kWindowClass, title.get(), kWindowStyle, outer.left, outer.top,
                         outer.width, outer.height, nullptr, nullptr, instance_, this);
}

Size Win32Desktop::OuterSize(NativeWindow window) {
  RECT rect{};
  GetWindowRect(H(window), &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Win32Desktop::SetOuterRect(NativeWindow window, Rect outer) {
  MoveWindow(H(window), outer.left, outer.top, outer.width, outer.height, TRUE);
}

void Win32Desktop::SetIcons(NativeWindow window) {
  // Loaded once and shared by the process; a missing icon leaves the
  // desktop's default in place.
  if (!iconsLoaded_) {
    iconsLoaded_ = true;
    largeIcon_ = static_cast<HICON>(
        LoadImageW(instance_, L"DEFAULT_ICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR | LR_SHARED));
    smallIcon_ = static_cast<HICON>(
        LoadImageW(instance_, L"DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR | LR_SHARED));
  }
  if (largeIcon_ != nullptr) {
    SendMessageW(H(window), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
  }
  if (smallIcon_ != nullptr) {
    SendMessageW(H(window), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  }
}

void Win32Desktop::SetDefaultFont(NativeWindow window) {
  SendMessageW(H(window), WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), TRUE);
}

void Win32Desktop::ShowTopLevel(NativeWindow window) { ShowWindow(H(window), SW_SHOW); }

void Win32Desktop::Destroy(NativeWindow window) {
  if (IsWindow(H(window))) DestroyWindow(H(window));
}

NativeWindow Win32Desktop::CreateControl(const ControlCreateParams& params) {
  const ControlDefinition& control = *params.definition;
  const DWORD style = CommonStyle(params.styleBits);
  const Rect& r = params.rect;
  const auto childId = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(params.childId));
  HWND created = nullptr;
  switch (control.kind) {
    case ControlKind::Label: {
      const Wide text(control.label->text);
      created = CreateWindowExW(0, kLabelClass, text.get(), style, r.left, r.top, r.width, r.height,
                                H(params.parent), childId, instance_, this);
      break;
    }
    case ControlKind::Button: {
      const Wide text(control.button->text);
      DWORD buttonStyle = style | BS_MULTILINE | BS_CENTER | BS_VCENTER;
      buttonStyle |= control.button->buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      created = CreateWindowExW(0, L"BUTTON", text.get(), buttonStyle, r.left, r.top, r.width,
                                r.height, H(params.parent), childId, instance_, nullptr);
      if (created != nullptr) {
        SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), TRUE);
      }
      break;
    }
    case ControlKind::ComboBox:
      created = CreateComboBox(params, style);
      break;
  }
  return created;
}

HWND Win32Desktop::CreateComboBox(const ControlCreateParams& params, DWORD style) {
  const ComboBoxProperties& list = *params.definition->comboBox;
  if (brushCount_ == kMaxComboBoxes) return nullptr;
  style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_DROPDOWN;
  if (list.sort) style |= CBS_SORT;
  const Rect& r = params.rect;
  const Wide text(list.text);
  HWND combo = CreateWindowExW(
      0, L"COMBOBOX", text.get(), style, r.left, r.top, r.width, r.height, H(params.parent),
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(params.childId)), instance_, nullptr);
  if (combo == nullptr) return nullptr;
  brushes_[brushCount_++] = ComboBrush{combo, CreateSolidBrush(Colour(list.backgroundColour))};

  SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), TRUE);
  const LRESULT itemHeight = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
  if (itemHeight != CB_ERR) {
    const auto height = static_cast<WORD>(itemHeight + list.lineSpacing);
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, height);
  }
  SendMessageW(combo, CB_LIMITTEXT, static_cast<WPARAM>(list.maximumTextLength), 0);
  for (std::size_t i = 0; i < list.itemCount; ++i) {
    const Wide item(list.itemTexts[i]);
    const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.get()));
    if (at >= 0 && i < list.valueCount) {
      SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at),
                   static_cast<LPARAM>(list.itemValues[i]));
    }
  }
  std::int32_t selection = list.currentSelection;
  const auto last = static_cast<std::int32_t>(list.itemCount) - 1;
  if (selection < -1) selection = -1;
  if (selection > last) selection = last;
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  SetWindowTextW(combo, text.get());
  SendMessageW(combo, CB_SETEDITSEL, 0,
               MAKELPARAM(list.selectionStart, list.selectionStart + list.selectionLength));
  return combo;
}

void Win32Desktop::StackBelow(NativeWindow control, NativeWindow above) {
  SetWindowPos(H(control), above != nullptr ? H(above) : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Desktop::ShowControl(NativeWindow control) { ShowWindow(H(control), SW_SHOWNA); }

Rect Win32Desktop::ControlRect(NativeWindow control) {
  RECT rect{};
  GetWindowRect(H(control), &rect);
  MapWindowPoints(nullptr, GetParent(H(control)), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

bool Win32Desktop::IsVisible(NativeWindow window) { return IsWindowVisible(H(window)) != FALSE; }

bool Win32Desktop::IsEnabled(NativeWindow window) { return IsWindowEnabled(H(window)) != FALSE; }

void Win32Desktop::SetFocus(NativeWindow control) { ::SetFocus(H(control)); }

NativeWindow Win32Desktop::FocusedControl(NativeWindow window) {
  // The combo box's edit field has the focus for the combo box.
  for (HWND focus = GetFocus(); focus != nullptr; focus = GetParent(focus)) {
    if (GetParent(focus) == H(window)) return focus;
    if ((GetWindowLongW(focus, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return nullptr;
}

std::int32_t Win32Desktop::ListSelection(NativeWindow comboBox) {
  return static_cast<std::int32_t>(SendMessageW(H(comboBox), CB_GETCURSEL, 0, 0));
}

std::int32_t Win32Desktop::ListCount(NativeWindow comboBox) {
  return static_cast<std::int32_t>(SendMessageW(H(comboBox), CB_GETCOUNT, 0, 0));
}

std::int32_t Win32Desktop::ListItemValue(NativeWindow comboBox, std::int32_t index) {
  return static_cast<std::int32_t>(
      SendMessageW(H(comboBox), CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool Win32Desktop::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (shell_ == nullptr || message.hwnd == nullptr) return false;
  // Only our own top-level window handles keys; the shell ignores others.
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  const Modifiers modifiers{Held(VK_CONTROL), Held(VK_SHIFT),
                            Held(VK_MENU) || message.message == WM_SYSKEYDOWN};
  return shell_->InputKeyDown(root, KeyOf(message.wParam), modifiers);
}

void Win32Desktop::ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;  // left for the event loop
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

int Win32Desktop::RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 0;
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Desktop::PostQuit(int code) { PostQuitMessage(code); }

void Win32Desktop::ReportStartupFailure(const char* message) {
  const Wide text(message);
  MessageBoxW(nullptr, text.get(), kFailureTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void Win32Desktop::OpenAddress(const char* address) {
  // Whatever the desktop itself says while serving the request belongs to
  // that window, or to none; never to ours. The result is not examined.
  HWND owner = FindWindowExW(nullptr, nullptr, nullptr, kBrowserOwnerTitle);
  const Wide file(address);
  shellExecute(owner, L"open", file.get(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK Win32Desktop::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Desktop* self = InstanceOf<Win32Desktop>(window, message, lParam);
  if (self == nullptr || self->shell_ == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnWindowMessage(window, message, wParam, lParam);
}

LRESULT Win32Desktop::OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_COMMAND:
      if (lParam != 0 && LOWORD(wParam) < kFirstNonControlId) {
        OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (HBRUSH brush =
              OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_MOVE:
      shell_->InputWindowEvent(window, event::kWindowMoved);
      return 0;
    case WM_SIZE:
      shell_->InputWindowEvent(window, event::kWindowResized);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) shell_->InputWindowDeactivated(window);
      break;  // activating: the default sets the focus to us, see WM_SETFOCUS
    case WM_SETFOCUS:
      // The window itself never keeps the focus: it goes to a control.
      shell_->InputWindowActivated(window);
      return 0;
    case WM_CLOSE:
      shell_->InputCloseRequest(window);
      return 0;
    case WM_QUERYENDSESSION:
      return shell_->InputEndSessionQuery(window) ? TRUE : FALSE;
    case WM_DESTROY:
      shell_->InputWindowDestroying(window);
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      shell_->InputWindowDestroyed(window);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Desktop::OnCommand(HWND control, UINT code) {
  const ControlDefinition* definition = shell_->ControlOf(control);
  if (definition == nullptr) return;
  if (definition->kind == ControlKind::Button) {
    if (code == BN_CLICKED) shell_->InputControlEvent(control, event::kButtonClick);
    return;
  }
  if (definition->kind != ControlKind::ComboBox) return;
  switch (code) {
    case CBN_SELCHANGE:
      shell_->InputControlEvent(control, event::kComboPicked);
      break;
    case CBN_EDITCHANGE:
      shell_->InputControlEvent(control, event::kComboEdited);
      break;
    case CBN_DROPDOWN:
      shell_->InputControlEvent(control, event::kComboDropDown);
      break;
    case CBN_CLOSEUP:
      shell_->InputControlEvent(control, event::kComboCloseUp);
      break;
    case CBN_DBLCLK:
      shell_->InputControlEvent(control, event::kComboDoubleClick);
      break;
    case CBN_SETFOCUS:
      shell_->InputControlEvent(control, event::kGotFocus);
      break;
    case CBN_KILLFOCUS:
      shell_->InputControlEvent(control, event::kLostFocus);
      break;
    default:
      break;
  }
}

HBRUSH Win32Desktop::OnControlColour(HDC dc, HWND child) {
  // The request comes from the combo box's field or its dropped list; the
  // combo box answers it with its own colours.
  for (int i = 0; i < brushCount_; ++i) {
    HWND combo = brushes_[i].comboBox;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (child != combo &&
        !(GetComboBoxInfo(combo, &info) && (child == info.hwndItem || child == info.hwndList))) {
      continue;
    }
    const ControlDefinition* definition = shell_->ControlOf(combo);
    if (definition == nullptr) return nullptr;
    SetTextColor(dc, Colour(definition->comboBox->textColour));
    SetBkColor(dc, Colour(definition->comboBox->backgroundColour));
    return brushes_[i].brush;
  }
  return nullptr;
}

LRESULT CALLBACK Win32Desktop::LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Desktop* self = InstanceOf<Win32Desktop>(label, message, lParam);
  if (self == nullptr || self->shell_ == nullptr) {
    return DefWindowProcW(label, message, wParam, lParam);
  }
  return self->OnLabelMessage(label, message, wParam, lParam);
}

LRESULT Win32Desktop::OnLabelMessage(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintLabel(label);
      return 0;
    case kLabelFeedbackMessage:
      return shell_->InputLabelFeedback(label, static_cast<std::int32_t>(wParam),
                                        static_cast<std::int32_t>(lParam));
    default:
      return DefWindowProcW(label, message, wParam, lParam);
  }
}

void Win32Desktop::PaintLabel(HWND label) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(label, &paint);
  const ControlDefinition* definition = shell_->ControlOf(label);
  if (IsRectEmpty(&paint.rcPaint) || definition == nullptr) {
    EndPaint(label, &paint);
    return;
  }
  const LabelProperties& properties = *definition->label;
  RECT client;
  GetClientRect(label, &client);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);

  if (properties.backgroundColour == kDefaultColour) {
    FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    HBRUSH brush = CreateSolidBrush(Colour(properties.backgroundColour));
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
  }

  wchar_t text[512];
  int length = GetWindowTextW(label, text, static_cast<int>(sizeof text / sizeof text[0]));
  // Line breaks never start a second line here; drawn, they would only show
  // as boxes in some fonts.
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
  if (length > 0) {
    HGDIOBJ previous = SelectObject(dc, DefaultFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Colour(properties.textColour));
    UINT format = DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;
    format |= properties.horizontalAlignment == 1   ? DT_CENTER
              : properties.horizontalAlignment == 2 ? DT_RIGHT
                                                    : DT_LEFT;
    DrawTextW(dc, text, length, &client, format);
    SelectObject(dc, previous);
  }
  EndPaint(label, &paint);
}

}  // namespace valdremo::win32
