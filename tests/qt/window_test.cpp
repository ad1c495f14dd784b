// What the Qt window looks like once built: frame, placement, controls,
// texts, the paper list and how the labels paint.
#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "build_config.h"
#include "qt/label_widget.h"
#include "qt_fixture.h"
#include "window/main_window.h"

namespace valdremo::qt::testing {
namespace {

// The rows and columns of `image` that hold text: pixels far from the
// background colour at the label's top-left corner.
struct Ink {
  int top = -1, bottom = -1, left = -1, right = -1;
};

Ink InkOf(const QImage& image) {
  const QColor background = image.pixelColor(0, 0);
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      const int distance = qAbs(pixel.red() - background.red()) +
                           qAbs(pixel.green() - background.green()) +
                           qAbs(pixel.blue() - background.blue());
      if (distance < 200) continue;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      if (x > ink.right) ink.right = x;
    }
  }
  return ink;
}

QImage Render(QWidget* widget) { return widget->grab().toImage(); }

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void frameAndPlacement() {
    BuiltWindow built;
    QVERIFY(built.built());
    QWidget* window = built.window();
    QCOMPARE(window->windowTitle(), QString::fromUtf8("Valdremo二级office教学视频"));
    // Outer size, frame included, wherever the platform reports a frame.
    QCOMPARE(window->frameGeometry().size(), QSize(459, 319));
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(window->frameGeometry().topLeft(),
             QPoint((screen.width() - 459) / 2, (screen.height() - 319) / 2));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!window->windowIcon().isNull());
  }

  void controls_data() {
    QTest::addColumn<std::uint32_t>("id");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("takesFocus");
    QTest::newRow("标签3") << kCommunityAddressLabelId << QRect(264, 56, 152, 24)
                           << QString::fromUtf8(build::kCommunityAddress) << false;
    QTest::newRow("标签2") << kCommunityNameLabelId << QRect(264, 16, 160, 32)
                           << QString::fromUtf8("Halvick论坛") << false;
    QTest::newRow("标签1") << kGreetingLabelId << QRect(40, 120, 128, 32)
                           << QString::fromUtf8("祝大家完美通过考试\r\n") << false;
    QTest::newRow("按钮3") << kPptButtonId << QRect(208, 216, 112, 48)
                           << QString::fromUtf8("PPT教程") << true;
    QTest::newRow("按钮2") << kExcelButtonId << QRect(208, 160, 112, 48)
                           << QString::fromUtf8("EXCEL教程") << true;
    // The field keeps its stored height; the list drops below it.
    QTest::newRow("组合框1") << kPaperListId << QRect(48, 64, 120, 20) << QString() << true;
    QTest::newRow("按钮1") << kWordButtonId << QRect(208, 104, 112, 48)
                           << QString::fromUtf8("WORD教程") << true;
  }

  void controls() {
    QFETCH(std::uint32_t, id);
    QFETCH(QRect, rect);
    QFETCH(QString, text);
    QFETCH(bool, takesFocus);
    BuiltWindow built;
    QVERIFY(built.built());
    QWidget* control = built.control(id);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget(), built.window());
    QCOMPARE(control->geometry(), rect);
    QVERIFY(control->isVisible());
    QCOMPARE(control->focusPolicy() != Qt::NoFocus, takesFocus);
    if (auto* label = dynamic_cast<LabelWidget*>(control)) {
      QCOMPARE(label->text(), text);
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
      QCOMPARE(button->text(), text);
      QVERIFY(!button->autoDefault());
      QVERIFY(!button->isDefault());
    } else {
      QCOMPARE(qobject_cast<QComboBox*>(control)->currentText(), text);
    }
  }

  void stackedInDefinitionOrder() {
    BuiltWindow built;
    QVERIFY(built.built());
    // A parent's children run from the bottom of its stack to the top.
    QStringList topDown;
    for (QObject* child : built.window()->children()) {
      if (child->isWidgetType()) topDown.prepend(child->objectName());
    }
    const QStringList expected =
        QString::fromUtf8("标签3 标签2 标签1 按钮3 按钮2 组合框1 按钮1").split(QLatin1Char(' '));
    QCOMPARE(topDown, expected);
  }

  void paperListStartsEmptyWithItsValues() {
    BuiltWindow built;
    QVERIFY(built.built());
    QComboBox* list = built.paperList();
    QVERIFY(list->isEditable());
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(list->lineEdit()->text(), QString());
    QCOMPARE(list->count(), 23);
    for (int i = 0; i < list->count(); ++i) {
      QCOMPARE(list->itemText(i), QString::fromUtf8("Kestrune试卷%1").arg(i + 1));
      QCOMPARE(list->itemData(i).toInt(), i + 1);
    }
    QCOMPARE(built.shell.CurrentSelection(kMainWindowId, kPaperListId), -1);
    QCOMPARE(list->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(list->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(list->view()->palette().color(QPalette::Base), QColor(Qt::white));
  }

  void paperListItemsAreOnePixelTaller() {
    BuiltWindow built;
    QVERIFY(built.built());
    QComboBox plain(built.window());
    plain.setEditable(true);
    plain.addItem(built.paperList()->itemText(0));
    QCOMPARE(built.paperList()->view()->sizeHintForRow(0), plain.view()->sizeHintForRow(0) + 1);
  }

  void labelsPaintOneCentredLine_data() {
    QTest::addColumn<std::uint32_t>("id");
    QTest::newRow("标签1, ending in a line break") << kGreetingLabelId;
    QTest::newRow("标签2") << kCommunityNameLabelId;
    QTest::newRow("标签3") << kCommunityAddressLabelId;
  }

  void labelsPaintOneCentredLine() {
    QFETCH(std::uint32_t, id);
    BuiltWindow built;
    QVERIFY(built.built());
    QWidget* label = built.control(id);
    const QImage image = Render(label);
    QCOMPARE(image.pixelColor(0, 0), label->palette().color(QPalette::Window));
    const Ink ink = InkOf(image);
    QVERIFY(ink.top >= 0);
    QVERIFY2(ink.left <= 2, "text starts at the left edge");
    // A second line, or a line at the top, leaves the margins uneven.
    const int above = ink.top;
    const int below = image.height() - 1 - ink.bottom;
    QVERIFY2(qAbs(above - below) <= 3,
             qPrintable(QStringLiteral("%1 above, %2 below").arg(above).arg(below)));
    QVERIFY(ink.bottom - ink.top < label->fontMetrics().height());
  }

  void labelCutsLongTextAtItsEdge() {
    const LabelProperties long_text{"Kestrune试卷 Kestrune试卷 Kestrune试卷 Kestrune试卷",
                                    0x000000,
                                    kDefaultColour,
                                    0,
                                    false,
                                    1};
    QWidget window;
    LabelWidget label(long_text, &window);
    label.setGeometry(0, 0, 60, 32);
    const Ink ink = InkOf(Render(&label));
    QVERIFY(ink.right >= 56);
    QVERIFY2(ink.bottom - ink.top < label.fontMetrics().height(), "one line, not wrapped");
  }

  void labelTakesTheNewFaceColour() {
    BuiltWindow built;
    QVERIFY(built.built());
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Window, QColor(0x12, 0x80, 0x40));
    QApplication::setPalette(changed);
    QWidget* label = built.control(kGreetingLabelId);
    // The change reaches the widgets as the desktop's would: by event.
    QTRY_COMPARE(label->palette().color(QPalette::Window), QColor(0x12, 0x80, 0x40));
    const QImage image = Render(label);
    QApplication::setPalette(before);
    QCOMPARE(image.pixelColor(0, 0), QColor(0x12, 0x80, 0x40));
  }
};

}  // namespace valdremo::qt::testing

QTEST_MAIN(valdremo::qt::testing::WindowTest)
#include "window_test.moc"
