#include "app/platform_win32.h"

#include <vector>

#include "app/resources/resource_ids.h"

namespace lorvena {
namespace {

constexpr const wchar_t* kFormClass = L"LorvenaForm1";
constexpr int kTwipsPerInch = 1440;

// Form1 and Label1, in twips.
constexpr int kClientWidth = 4200;
constexpr int kClientHeight = 2688;
constexpr int kLabelLeft = 960;
constexpr int kLabelTop = 960;
constexpr int kLabelWidth = 2652;
constexpr int kLabelHeight = 792;
constexpr int kLabelPoints = 24;

struct ScreenDpi {
  int x;
  int y;
};

// The manifest makes the process system-aware, so the screen's logical dpi
// is the system dpi and the window is drawn at it as laid out. (A process
// without the manifest would be told 96 and stretched by the system.)
ScreenDpi logical_dpi() {
  HDC screen = GetDC(nullptr);
  ScreenDpi dpi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return dpi;
}

int pixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

// Windows calls this with a stack aligned to 4 bytes only; the i686 code
// around it assumes 16.
__attribute__((force_align_arg_pointer)) LRESULT CALLBACK form_procedure(HWND window, UINT message,
                                                                         WPARAM wparam, LPARAM lparam) {
  // The run ends by itself; Alt+F4 does not close the window half-way.
  if (message == WM_CLOSE) return 0;
  return DefWindowProcW(window, message, wparam, lparam);
}

void register_form_class(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = form_procedure;
  wc.hInstance = instance;
  // The system picks the small caption icon from the same resource.
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(LORVENA_ICON));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
}

// The outer rectangle of a window with the given client size, centred on the
// primary screen's work area.
RECT centred_window_rect(int client_width, int client_height, DWORD style) {
  RECT rect{0, 0, client_width, client_height};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int left = work.left + (work.right - work.left - width) / 2;
  int top = work.top + (work.bottom - work.top - height) / 2;
  return RECT{left, top, left + width, top + height};
}

// The raster face has its sizes drawn for 96 dpi only; at any other dpi GDI
// could just multiply its pixels, so the label takes its outline twin there.
const wchar_t* label_face(int dpi_y) {
  return dpi_y == 96 ? L"MS Sans Serif" : L"Microsoft Sans Serif";
}

HFONT create_label_font(int dpi_y) {
  return CreateFontW(-MulDiv(kLabelPoints, dpi_y, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                     ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, label_face(dpi_y));
}

}  // namespace

std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

Win32Platform::Win32Platform(HINSTANCE instance, int show_command, std::wstring title)
    : instance_(instance), show_command_(show_command), title_(std::move(title)) {
  // The run processes no messages while it works: keep the painted label on
  // screen instead of letting the system swap in a "not responding" ghost.
  DisableProcessWindowsGhosting();
}

Win32Platform::~Win32Platform() {
  if (form_) DestroyWindow(form_);
  if (label_font_) DeleteObject(label_font_);
}

std::filesystem::path module_path() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return std::filesystem::path(std::wstring(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

std::filesystem::path Win32Platform::program_directory() {
  std::filesystem::path program = module_path();
  return program.empty() ? std::filesystem::current_path() : program.parent_path();
}

// The scenario's name is plain ASCII (a packaged installer's payload holds
// no other), so it reads the same in any code page.
void Win32Platform::name_scenario(std::string_view scenario_name) { title_ = widen(scenario_name); }

bool Win32Platform::show_waiting_window() {
  register_form_class(instance_);
  ScreenDpi dpi = logical_dpi();
  // A caption and no buttons: there is nothing to do but wait.
  DWORD style = WS_OVERLAPPED | WS_CAPTION;
  RECT rect = centred_window_rect(pixels(kClientWidth, dpi.x), pixels(kClientHeight, dpi.y), style);
  form_ = CreateWindowExW(0, kFormClass, title_.c_str(), style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                          instance_, nullptr);
  if (!form_) return false;

  HWND label = CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT,
                               pixels(kLabelLeft, dpi.x), pixels(kLabelTop, dpi.y),
                               pixels(kLabelWidth, dpi.x), pixels(kLabelHeight, dpi.y), form_,
                               nullptr, instance_, nullptr);
  label_font_ = create_label_font(dpi.y);
  if (label) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(label_font_), FALSE);

  ShowWindow(form_, show_command_);
  RedrawWindow(form_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  return true;
}

void Win32Platform::show_fatal_error(std::string_view message) {
  MessageBoxW(form_, widen(message).c_str(), title_.c_str(), MB_OK);
}

void Win32Platform::show_run_time_error(std::string_view message) {
  MessageBoxW(form_, widen(message).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace lorvena
