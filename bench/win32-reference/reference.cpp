// The benchmark's yardstick: the same window as valdremo.exe, written the
// most direct way on the Win32 API. One window procedure, the seven controls
// made right in WM_CREATE, a label class that paints its own text, and
// ShellExecuteW on a click. No core, no tables, no abstraction: whatever
// valdremo.exe costs beyond this program is the price of its structure.
//
// Its class is "ValdremoReference" so the bench can tell the two apart; the
// title is the same, so the desktop treats both alike.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "build_config.h"

namespace {

constexpr wchar_t kWindowClass[] = L"ValdremoReference";
constexpr wchar_t kLabelClass[] = L"ValdremoReferenceLabel";
constexpr wchar_t kTitle[] = L"Valdremo二级office教学视频";

constexpr int kWordId = 100;
constexpr int kPaperListId = 110;
constexpr int kExcelId = 120;
constexpr int kPptId = 130;
constexpr int kPaperCount = 23;

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HWND Child(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
           int left, int top, int width, int height) {
  HWND child =
      CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, left,
                      top, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), TRUE);
  return child;
}

// Made in the same order as valdremo.exe makes them; each new child goes on
// top of its siblings, which gives the same stacking.
void CreateControls(HWND window) {
  constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER;
  Child(window, L"BUTTON", L"WORD教程", kButton, kWordId, 208, 104, 112, 48);

  HWND list =
      Child(window, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
            kPaperListId, 48, 64, 120, 160);
  const LRESULT itemHeight = SendMessageW(list, CB_GETITEMHEIGHT, 0, 0);
  if (itemHeight != CB_ERR) SendMessageW(list, CB_SETITEMHEIGHT, 0, itemHeight + 1);
  for (int paper = 1; paper <= kPaperCount; ++paper) {
    wchar_t text[32];
    wsprintfW(text, L"Kestrune试卷%d", paper);
    const LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), paper);
  }

  Child(window, L"BUTTON", L"EXCEL教程", kButton, kExcelId, 208, 160, 112, 48);
  Child(window, L"BUTTON", L"PPT教程", kButton, kPptId, 208, 216, 112, 48);
  Child(window, kLabelClass, L"祝大家完美通过考试\r\n", 0, 140, 40, 120, 128, 32);
  Child(window, kLabelClass, L"Halvick论坛", 0, 150, 264, 16, 160, 32);
  wchar_t address[128];
  MultiByteToWideChar(CP_UTF8, 0, valdremo::build::kCommunityAddress, -1, address, 128);
  Child(window, kLabelClass, address, 0, 160, 264, 56, 152, 24);
}

void OpenTutorial(HWND window, int subject) {
  HWND list = GetDlgItem(window, kPaperListId);
  const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  const LRESULT paper = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (paper < 1 || paper > kPaperCount) return;
  wchar_t address[256];
  MultiByteToWideChar(CP_UTF8, 0, valdremo::build::kTutorialAddresses[paper - 1][subject - 1], -1,
                      address, 256);
  ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void PaintLabel(HWND label) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(label, &paint);
  RECT client;
  GetClientRect(label, &client);
  FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  wchar_t text[128];
  int length = GetWindowTextW(label, text, 128);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
  HGDIOBJ previous = SelectObject(dc, GuiFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, text, length, &client, DT_NOCLIP | DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, previous);
  EndPaint(label, &paint);
}

// Both classes share this procedure; a label is the one that is a child.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) {
    if (message == WM_PAINT) {
      PaintLabel(window);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);  // 0 for the feedback message
  }
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {  // Esc, through IsDialogMessage
        SendMessageW(window, WM_CLOSE, 0, 0);
      } else if (HIWORD(wParam) == BN_CLICKED) {
        const int id = LOWORD(wParam);
        if (id == kWordId) OpenTutorial(window, 1);
        if (id == kExcelId) OpenTutorial(window, 2);
        if (id == kPptId) OpenTutorial(window, 3);
      }
      return 0;
    case WM_ACTIVATE:
      // The focused control comes back when the window is activated again.
      if (LOWORD(wParam) == WA_INACTIVE) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(GetFocus()));
      }
      break;
    case WM_SETFOCUS: {
      HWND last = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA));
      SetFocus(last != nullptr && IsChild(window, last) ? last : GetDlgItem(window, kWordId));
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kLabelClass;
  RegisterClassExW(&windowClass);
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR | LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR | LR_SHARED));
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);

  HWND window = CreateWindowExW(
      0, kWindowClass, kTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
      (GetSystemMetrics(SM_CXSCREEN) - 459) / 2, (GetSystemMetrics(SM_CYSCREEN) - 319) / 2, 459,
      319, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return -1;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), TRUE);
  ShowWindow(window, SW_SHOW);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return static_cast<int>(message.wParam);
}
