// The benchmark's yardstick on Linux: the same window as the Qt program,
// written the most direct way with stock Qt Widgets. Three QLabels, three
// QPushButtons and an editable QComboBox holding the 23 papers with their
// numbers as item data, placed by hand; a click opens the tutorial page
// through QDesktopServices, Esc closes the window. No core, no shell.
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <QWidget>

#include "build_config.h"

namespace {

constexpr int kPaperCount = 23;

void OpenTutorial(const QComboBox* list, int subject) {
  const int paper = list->itemData(list->currentIndex()).toInt();
  if (paper < 1 || paper > kPaperCount) return;
  QDesktopServices::openUrl(
      QUrl(QString::fromUtf8(valdremo::build::kTutorialAddresses[paper - 1][subject - 1])));
}

QLabel* Label(const char* text, const QRect& where, QWidget* window) {
  auto* label = new QLabel(QString::fromUtf8(text).trimmed(), window);
  label->setGeometry(where);
  return label;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);

  QWidget window;
  window.setWindowTitle(QStringLiteral("Valdremo二级office教学视频"));
  QIcon icon;
  for (int size : {16, 32, 48}) {
    icon.addFile(QStringLiteral(":/valdremo/%1x%1/valdremo.png").arg(size), QSize(size, size));
  }
  window.setWindowIcon(icon);
  window.setFixedSize(459, 319);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  window.move((screen.width() - 459) / 2, (screen.height() - 319) / 2);

  auto* list = new QComboBox(&window);
  list->setEditable(true);
  list->setGeometry(48, 64, 120, 20);
  for (int paper = 1; paper <= kPaperCount; ++paper) {
    list->addItem(QStringLiteral("Kestrune试卷%1").arg(paper), paper);
  }
  list->setCurrentIndex(-1);

  const char* captions[] = {"WORD教程", "EXCEL教程", "PPT教程"};
  for (int subject = 1; subject <= 3; ++subject) {
    auto* button = new QPushButton(QString::fromUtf8(captions[subject - 1]), &window);
    button->setGeometry(208, 48 + 56 * subject, 112, 48);
    QObject::connect(button, &QPushButton::clicked,
                     [list, subject] { OpenTutorial(list, subject); });
  }
  Label("祝大家完美通过考试\r\n", QRect(40, 120, 128, 32), &window);
  Label("Halvick论坛", QRect(264, 16, 160, 32), &window);
  Label(valdremo::build::kCommunityAddress, QRect(264, 56, 152, 24), &window);

  QShortcut escape(QKeySequence(Qt::Key_Escape), &window);
  QObject::connect(&escape, &QShortcut::activated, &window, &QWidget::close);

  window.show();
  window.activateWindow();
  window.findChild<QPushButton*>()->setFocus();
  return QApplication::exec();
}
