#include "qt/qt_desktop.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QUrl>

#include <algorithm>
#include <cstdio>

#include "qt/label_widget.h"
#include "qt/paper_list.h"
#include "shell/shell.h"

// Resources compiled into a static library must be registered by name,
// outside any namespace.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace valdremo::qt {
namespace {

constexpr int kIconSizes[] = {16, 32, 48};

QRect ToQRect(Rect rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }

QWidget* CreatePushButton(const ButtonProperties& button, QWidget* parent) {
  auto* widget = new QPushButton(QString::fromUtf8(button.text), parent);
  // What Enter clicks is the shell's decision, never the button's own.
  widget->setAutoDefault(false);
  widget->setDefault(button.buttonType == 1);
  return widget;
}

}  // namespace

QtDesktop::QtDesktop()
    : router_([this](QWidget* window, const QKeyEvent& event) { return RouteKey(window, event); }) {
  InitIconResources();
  // The shell's quit rule ends the program, not Qt's last-window rule.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  QCoreApplication::instance()->installEventFilter(&router_);
  WatchSessionEnd();
}

void QtDesktop::WatchSessionEnd() {
#if QT_CONFIG(sessionmanager)
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
  // Qt 5 would close every window itself when the session ends.
  QGuiApplication::setFallbackSessionManagementEnabled(false);
#endif
  // Logging off asks each window's close query; any refusal keeps the
  // session going.
  auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (application == nullptr) return;
  QObject::connect(application, &QGuiApplication::commitDataRequest, &router_,
                   [this](QSessionManager& manager) {
                     if (shell_ == nullptr) return;
                     const std::vector<QPointer<TopLevelWidget>> windows = windows_;
                     for (const QPointer<TopLevelWidget>& window : windows) {
                       if (window != nullptr && !shell_->InputEndSessionQuery(Handle(window))) {
                         manager.cancel();
                         return;
                       }
                     }
                   });
#endif
}

QtDesktop::~QtDesktop() {
  QCoreApplication::instance()->removeEventFilter(&router_);
  for (const QPointer<TopLevelWidget>& window : windows_) {
    if (window != nullptr) window->Detach();
    delete window.data();
  }
  // Windows destroyed during the run are gone once their deletion is done.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TopLevelWidget* QtDesktop::OwnerOf(QWidget* widget) const {
  for (QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
    for (const QPointer<TopLevelWidget>& window : windows_) {
      if (window == at) return window;
    }
  }
  return nullptr;
}

bool QtDesktop::RouteKey(QWidget* window, const QKeyEvent& event) {
  TopLevelWidget* owner = OwnerOf(window);
  if (owner == nullptr || shell_ == nullptr) return false;
  Modifiers modifiers{};
  const Key key = ShellKeyOf(event, &modifiers);
  if (key == Key::Tab) focusReason_ = modifiers.shift ? Qt::BacktabFocusReason : Qt::TabFocusReason;
  const bool consumed = shell_->InputKeyDown(Handle(owner), key, modifiers);
  focusReason_ = Qt::OtherFocusReason;
  return consumed;
}

void QtDesktop::ReportActivation(TopLevelWidget* window, bool active) {
  if (shell_ == nullptr) return;
  if (active) {
    focusReason_ = Qt::ActiveWindowFocusReason;
    shell_->InputWindowActivated(Handle(window));
    focusReason_ = Qt::OtherFocusReason;
  } else {
    shell_->InputWindowDeactivated(Handle(window));
  }
}

Size QtDesktop::PrimaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0};
  const QSize size = screen->geometry().size();
  return {size.width(), size.height()};
}

NativeWindow QtDesktop::CreateTopLevel(const WindowDefinition& definition, Rect outer) {
  auto* window = new TopLevelWidget(definition, ToQRect(outer));
  TopLevelWidget::Reports reports;
  reports.closeRequest = [this, window] {
    if (shell_ != nullptr) shell_->InputCloseRequest(Handle(window));
  };
  reports.activated = [this, window] { ReportActivation(window, true); };
  reports.deactivated = [this, window] { ReportActivation(window, false); };
  reports.windowEvent = [this, window](std::int32_t event) {
    if (shell_ != nullptr) shell_->InputWindowEvent(Handle(window), event);
  };
  window->SetReports(std::move(reports));
  windows_.emplace_back(window);
  return Handle(window);
}

Size QtDesktop::OuterSize(NativeWindow window) {
  const QSize size = WidgetOf(window)->frameGeometry().size();
  return {size.width(), size.height()};
}

void QtDesktop::SetOuterRect(NativeWindow window, Rect outer) {
  TopLevelWidget* top = OwnerOf(WidgetOf(window));
  if (top == nullptr) return;
  top->SetOuterRect(ToQRect(outer));
  // The platform reports the move and the size as it applies them.
  if (shell_ != nullptr) {
    shell_->InputWindowEvent(window, event::kWindowMoved);
    shell_->InputWindowEvent(window, event::kWindowResized);
  }
}

void QtDesktop::SetIcons(NativeWindow window) {
  QIcon icon;
  for (int size : kIconSizes) {
    const QString path = QStringLiteral(":/valdremo/%1x%1/valdremo.png").arg(size);
    if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
  }
  // Without the pictures the desktop shows its own default icon.
  if (!icon.isNull()) WidgetOf(window)->setWindowIcon(icon);
}

void QtDesktop::SetDefaultFont(NativeWindow window) {
  WidgetOf(window)->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

void QtDesktop::ShowTopLevel(NativeWindow window) {
  QWidget* widget = WidgetOf(window);
  widget->show();
  widget->raise();
  widget->activateWindow();
}

void QtDesktop::Destroy(NativeWindow window) {
  QWidget* widget = WidgetOf(window);
  TopLevelWidget* top = nullptr;
  for (const QPointer<TopLevelWidget>& candidate : windows_) {
    if (candidate == widget) top = candidate;
  }
  if (top == nullptr) {
    widget->hide();
    widget->deleteLater();
    return;
  }
  if (shell_ != nullptr) shell_->InputWindowDestroying(window);
  top->Detach();
  windows_.erase(std::remove(windows_.begin(), windows_.end(), top), windows_.end());
  top->hide();
  // Deleted once the event that led here has been handled: the close
  // request or the key that asked for it may still be on the way out.
  top->deleteLater();
  if (shell_ != nullptr) shell_->InputWindowDestroyed(window);
}

NativeWindow QtDesktop::CreateControl(const ControlCreateParams& params) {
  const ControlDefinition& definition = *params.definition;
  QWidget* parent = WidgetOf(params.parent);
  QWidget* control = nullptr;
  switch (definition.kind) {
    case ControlKind::Label:
      control = new LabelWidget(*definition.label, parent);
      break;
    case ControlKind::Button: {
      control = CreatePushButton(*definition.button, parent);
      // One click event for each click the button reports.
      QObject::connect(static_cast<QPushButton*>(control), &QPushButton::clicked, control,
                       [this, control] {
                         if (shell_ != nullptr) {
                           shell_->InputControlEvent(Handle(control), event::kButtonClick);
                         }
                       });
      break;
    }
    case ControlKind::ComboBox: {
      // The shell asks for the height of field and dropped list together;
      // the field keeps the stored height.
      const QRect field(params.rect.left, params.rect.top, params.rect.width, definition.height);
      control = CreateComboBox(*definition.comboBox, field, params.rect.height, parent);
      break;
    }
  }
  if (control == nullptr) return nullptr;
  if (definition.kind != ControlKind::ComboBox) control->setGeometry(ToQRect(params.rect));
  control->setObjectName(QString::fromUtf8(definition.name));
  if (definition.kind != ControlKind::Label) {
    control->setFocusPolicy((params.styleBits & style::kTabStop) != 0 ? Qt::StrongFocus
                                                                      : Qt::ClickFocus);
  }
  control->setEnabled((params.styleBits & style::kDisabled) == 0);
  control->hide();
  return Handle(control);
}

void QtDesktop::StackBelow(NativeWindow control, NativeWindow above) {
  if (above == nullptr) {
    WidgetOf(control)->raise();
  } else {
    WidgetOf(control)->stackUnder(WidgetOf(above));
  }
}

void QtDesktop::ShowControl(NativeWindow control) { WidgetOf(control)->show(); }

Rect QtDesktop::ControlRect(NativeWindow control) {
  const QRect rect = WidgetOf(control)->geometry();
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

bool QtDesktop::IsVisible(NativeWindow window) { return WidgetOf(window)->isVisible(); }

bool QtDesktop::IsEnabled(NativeWindow window) { return WidgetOf(window)->isEnabled(); }

void QtDesktop::SetFocus(NativeWindow control) {
  QWidget* target = WidgetOf(control);
  // An open drop-down list keeps the keyboard to itself; it closes when its
  // combo box loses the focus.
  if (TopLevelWidget* owner = OwnerOf(target)) {
    for (QComboBox* combo : owner->findChildren<QComboBox*>()) {
      if (combo != target && combo->view()->isVisible()) combo->hidePopup();
    }
  }
  target->setFocus(focusReason_);
}

NativeWindow QtDesktop::FocusedControl(NativeWindow window) {
  QWidget* top = WidgetOf(window);
  // The window's focus widget, kept while the window is inactive or while
  // a drop-down list has the keyboard; a combo box's field counts as the
  // combo box.
  for (QWidget* at = top->focusWidget(); at != nullptr && at != top; at = at->parentWidget()) {
    if (at->parentWidget() == top) return Handle(at);
  }
  return nullptr;
}

std::int32_t QtDesktop::ListSelection(NativeWindow comboBox) {
  const auto* combo = qobject_cast<QComboBox*>(WidgetOf(comboBox));
  return combo != nullptr ? combo->currentIndex() : -1;
}

std::int32_t QtDesktop::ListCount(NativeWindow comboBox) {
  const auto* combo = qobject_cast<QComboBox*>(WidgetOf(comboBox));
  return combo != nullptr ? combo->count() : 0;
}

std::int32_t QtDesktop::ListItemValue(NativeWindow comboBox, std::int32_t index) {
  const auto* combo = qobject_cast<QComboBox*>(WidgetOf(comboBox));
  // An item without a value answers 0, as the platform list does.
  return combo != nullptr ? combo->itemData(index).toInt() : 0;
}

void QtDesktop::ProcessPendingMessages() {
  // A posted quit stays for the loop to take; nothing after it is handled.
  if (quitPosted_) return;
  QCoreApplication::processEvents();
}

int QtDesktop::RunMessageLoop() {
  if (!quitPosted_) {
    QEventLoop loop;
    loop_ = &loop;
    quitCode_ = loop.exec();
    loop_ = nullptr;
  }
  quitPosted_ = false;
  return quitCode_;
}

void QtDesktop::PostQuit(int code) {
  quitPosted_ = true;
  quitCode_ = code;
  if (loop_ != nullptr) loop_->exit(code);
}

void QtDesktop::ReportStartupFailure(const char* message) {
  std::fprintf(stderr, "valdremo: %s\n", message);
  // A dialog only where someone can see and close it.
  const QString platform = QGuiApplication::platformName();
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
      QGuiApplication::primaryScreen() != nullptr && platform != QLatin1String("offscreen") &&
      platform != QLatin1String("minimal")) {
    QMessageBox::critical(nullptr, QStringLiteral("valdremo"), QString::fromUtf8(message));
  }
}

void QtDesktop::OpenAddress(const char* address) {
  // Nothing comes back: whether a browser showed the page is not known.
  QDesktopServices::openUrl(QUrl(QString::fromUtf8(address)));
}

}  // namespace valdremo::qt
