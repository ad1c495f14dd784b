// The tutorial pages a click hands to the desktop's web browser on Qt.
#include <QTest>

#include "build_config.h"
#include "qt_fixture.h"
#include "window/main_window.h"

namespace valdremo::qt::testing {

class LauncherTest : public QObject {
  Q_OBJECT

 private slots:
  void opens_data() {
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("valueChangedTo");  // 0 or more replaces the item's value
    QTest::addColumn<std::uint32_t>("button");
    QTest::addColumn<QString>("path");  // empty: nothing is opened
    QTest::newRow("nothing selected") << -1 << -1 << kWordButtonId << QString();
    QTest::newRow("paper 1, WORD")
        << 0 << -1 << kWordButtonId << QStringLiteral("/MS/1_1_20150907.html");
    QTest::newRow("paper 23, PPT")
        << 22 << -1 << kPptButtonId << QStringLiteral("/MS/23_3_20150907.html");
    QTest::newRow("paper 9, EXCEL")
        << 8 << -1 << kExcelButtonId << QStringLiteral("/MS/9_2_20150907.html");
    QTest::newRow("item value changed to 0") << 0 << 0 << kWordButtonId << QString();
  }

  void opens() {
    QFETCH(int, selection);
    QFETCH(int, valueChangedTo);
    QFETCH(std::uint32_t, button);
    QFETCH(QString, path);
    UrlRecorder browser;
    BuiltWindow built;
    QVERIFY(built.built());
    QComboBox* list = built.paperList();
    list->setCurrentIndex(selection);
    if (valueChangedTo >= 0) list->setItemData(selection, valueChangedTo);

    QTest::mouseClick(built.button(button), Qt::LeftButton);

    QStringList expected;
    if (!path.isEmpty()) {
      expected << QStringLiteral("http://") + QString::fromUtf8(build::kTutorialHost) + path;
    }
    QCOMPARE(browser.urls, expected);
    // The click leaves the list as it was.
    QCOMPARE(list->currentIndex(), selection);
  }
};

}  // namespace valdremo::qt::testing

QTEST_MAIN(valdremo::qt::testing::LauncherTest)
#include "launcher_test.moc"
