// The window's look: every control's name, kind, caption, place and size, the fixed frame, the
// fonts that let every caption show whole, and the tab order walked with the Tab key.
#include "WindowTest.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace {

struct ExpectedControl {
    const char* name;
    const char* kind;
    const char* caption;
    QRect pixels;
};

// In tab order; places in logical pixels (twips / 15).
const ExpectedControl expectedControls[] = {
    {"Command1", "QPushButton", "Get Version", {8, 8, 569, 25}},
    {"Command4", "QPushButton", "Play MIDI", {8, 40, 137, 25}},
    {"Command5", "QPushButton", "Stop MIDI", {152, 40, 137, 25}},
    {"Command6", "QPushButton", "Set MIDI Speed", {8, 72, 217, 25}},
    {"SetSpeed", "QLineEdit", "", {232, 72, 57, 25}},
    {"Command2", "QPushButton", "Set MIDI Pan", {8, 104, 217, 25}},
    {"Panpot", "QLineEdit", "", {232, 104, 57, 25}},
    {"Command3", "QPushButton", "Fade In MIDI", {8, 136, 217, 25}},
    {"Command7", "QPushButton", "Fade Out MIDI", {8, 168, 217, 25}},
    {"FadeIn", "QLineEdit", "", {232, 136, 57, 25}},
    {"FadeOut", "QLineEdit", "", {232, 168, 57, 25}},
    {"Command8", "QPushButton", "Set MIDI Volume", {8, 200, 217, 25}},
    {"Volume", "QLineEdit", "", {232, 200, 57, 25}},
    {"Command9", "QPushButton", "LyrinthGetMusicPlaying", {8, 232, 137, 25}},
    {"Command10", "QPushButton", "LyrinthGetMusicLooping", {152, 232, 137, 25}},
    {"Command11", "QPushButton", "LyrinthCheckValidMidi", {8, 264, 137, 25}},
    {"Command12", "QPushButton", "LyrinthGetMidiTick", {152, 264, 137, 25}},
    {"Command13", "QPushButton", "Play Sound", {296, 40, 281, 25}},
    {"Command14", "QPushButton", "LyrinthCheckValidWave", {296, 104, 281, 25}},
    {"Command15", "QPushButton", "Stop Sound", {296, 72, 281, 25}},
    {"Frame1", "QGroupBox", "", {296, 136, 281, 121}},
    {"Command16", "QPushButton", "About The Lyrinth Demo", {296, 264, 281, 25}},
};

QString caption(const QWidget* control) {
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        return button->text();
    }
    if (const auto* textBox = qobject_cast<const QLineEdit*>(control)) {
        return textBox->text();
    }
    return qobject_cast<const QGroupBox*>(control)->title();
}

class LayoutTest : public WindowTest {
protected:
    // Presses Tab from Command1 until focus comes back to it; the names visited on the way.
    QStringList walkTabOrder() {
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        control("Command1")->setFocus();
        QStringList visited{QStringLiteral("Command1")};
        for (size_t press = 0; press <= std::size(expectedControls); ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QString name = QApplication::focusWidget()->objectName();
            if (name == QLatin1String("Command1")) {
                break;
            }
            visited.append(name);
        }
        return visited;
    }
};

} // namespace

TEST_F(LayoutTest, EveryControlHasItsKindCaptionPlaceAndSizeAndStartsEnabled) {
    EXPECT_EQ(window->findChildren<QWidget*>().size(), qsizetype(std::size(expectedControls)));
    for (const ExpectedControl& expected : expectedControls) {
        SCOPED_TRACE(expected.name);
        const QWidget* found = control(expected.name);
        ASSERT_NE(found, nullptr);
        EXPECT_STREQ(found->metaObject()->className(), expected.kind);
        EXPECT_EQ(caption(found), QString::fromUtf8(expected.caption));
        EXPECT_EQ(found->geometry(), expected.pixels);
        EXPECT_TRUE(found->isEnabled());
    }
}

TEST_F(LayoutTest, TheWindowHasAFixedClientAreaACloseBoxAndNoMinimizeOrMaximize) {
    EXPECT_EQ(window->size(), QSize(585, 297));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(LayoutTest, TheCaptionChangesWhenStartUpHasCreatedTheEngine) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lyrinth Demo"));
    startWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lyrinth.dll active"));
}

TEST_F(LayoutTest, StartUpPlacesTheWindowInTheMiddleOfTheScreen) {
    startWindow();
    const QPoint middle = window->screen()->availableGeometry().center();
    EXPECT_LE((window->geometry().center() - middle).manhattanLength(), 2);
}

TEST_F(LayoutTest, EveryCaptionFitsInsideItsButtonWithTheStylesMargins) {
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect inside =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
        const QFontMetrics metrics = button->fontMetrics();
        EXPECT_LE(metrics.horizontalAdvance(button->text()) + margin, inside.width());
        EXPECT_LE(metrics.height(), inside.height());
    }
}

TEST_F(LayoutTest, NoButtonIsADefaultButtonAndTextBoxesHaveNoLengthLimit) {
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault())
            << button->objectName().toStdString();
    }
    const QString longText(100000, QLatin1Char('7'));
    auto* volume = control<QLineEdit>("Volume");
    volume->setText(longText);
    EXPECT_EQ(volume->text(), longText);
}

TEST_F(LayoutTest, TabVisitsEveryControlInTableOrder) {
    startWindow();
    QStringList expected;
    for (const ExpectedControl& control : expectedControls) {
        if (QLatin1String(control.name) != QLatin1String("Frame1")) {
            expected.append(QString::fromUtf8(control.name));
        }
    }
    EXPECT_EQ(walkTabOrder(), expected);
}

TEST_F(LayoutTest, TabSkipsTheControlsOfAnEngineThatDidNotStart) {
    fakeLyrinthSetResult("LyrinthInitMidi", 0);
    startWindow();
    EXPECT_EQ(walkTabOrder(), QStringList({"Command1", "Command11", "Command13", "Command14",
                                           "Command15", "Command16"}));
}
