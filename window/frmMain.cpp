// The program's one window: layout, start-up, shutdown and the Click of every button.
#include "frmMain.h"

#include "Dialogs.h"
#include "LibraryError.h"
#include "NumberFromText.h"
#include "VersionRecord.h"
#include "frmMainLayout.h"
#include "modDeclares.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <limits>

namespace {

const QString applicationTitle = QString::fromUtf8(versionRecord::productName);

// Small enough that the longest caption, "LyrinthGetMusicLooping", fits its 137-pixel button with
// the style's margin to spare (the toolkit's default needs 140); given in pixels because the
// layout is in pixels too.
constexpr int fontPixelSize = 10;

QRect pixels(const ControlPlace& place) {
    return {place.left / twipsPerPixel, place.top / twipsPerPixel, place.width / twipsPerPixel,
            place.height / twipsPerPixel};
}

QWidget* createControl(const ControlPlace& place, QWidget* parent) {
    QWidget* control = nullptr;
    switch (place.kind) {
    case ControlPlace::Kind::Button: {
        auto* button = new QPushButton(QString::fromUtf8(place.caption), parent);
        button->setAutoDefault(false);
        control = button;
        break;
    }
    case ControlPlace::Kind::TextBox: {
        auto* textBox = new QLineEdit(parent);
        textBox->setMaxLength(std::numeric_limits<int>::max());
        control = textBox;
        break;
    }
    case ControlPlace::Kind::Frame:
        control = new QGroupBox(parent);
        control->setFocusPolicy(Qt::NoFocus);
        break;
    }
    control->setObjectName(QString::fromUtf8(place.name));
    control->setGeometry(pixels(place));
    return control;
}

} // namespace

frmMain::frmMain(Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs), dlg(dialogs, this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(applicationTitle);
    QFont windowFont = font();
    windowFont.setPixelSize(fontPixelSize);
    setFont(windowFont);
    setFixedSize(clientWidthTwips / twipsPerPixel, clientHeightTwips / twipsPerPixel);

    QWidget* previous = nullptr;
    for (const ControlPlace& place : frmMainLayout) {
        QWidget* control = createControl(place, this);
        if (previous != nullptr) {
            setTabOrder(previous, control);
        }
        previous = control;
    }

    using Handler = void (frmMain::*)();
    const std::pair<const char*, Handler> clickHandlers[] = {
        {"Command1", &frmMain::Command1_Click},   {"Command2", &frmMain::Command2_Click},
        {"Command3", &frmMain::Command3_Click},   {"Command4", &frmMain::Command4_Click},
        {"Command5", &frmMain::Command5_Click},   {"Command6", &frmMain::Command6_Click},
        {"Command7", &frmMain::Command7_Click},   {"Command8", &frmMain::Command8_Click},
        {"Command9", &frmMain::Command9_Click},   {"Command10", &frmMain::Command10_Click},
        {"Command11", &frmMain::Command11_Click}, {"Command12", &frmMain::Command12_Click},
        {"Command13", &frmMain::Command13_Click}, {"Command14", &frmMain::Command14_Click},
        {"Command15", &frmMain::Command15_Click}, {"Command16", &frmMain::Command16_Click},
    };
    for (const auto& [name, handler] : clickHandlers) {
        connect(button(name), &QPushButton::clicked, this, [this, clicked = handler] {
            reportingLibraryErrors([this, clicked] { (this->*clicked)(); });
        });
    }
}

frmMain::~frmMain() {
    Unload();
}

bool frmMain::Load() {
    // The program's own directory becomes current; on Windows this changes the drive as well.
    // Failing that changes nothing that matters: the library is found by its absolute path.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    int32_t created = 0;
    try {
        created = modDeclares::LyrinthCreate();
    } catch (const LibraryError& error) {
        showMessage(QStringLiteral("Cannot start Lyrinth\n\n") +
                    QString::fromStdString(error.what()));
        return false;
    }
    if (created != modDeclares::lyrinthTrue) {
        showMessage(QStringLiteral("Cannot start Lyrinth"));
        return false;
    }
    running_ = true;
    setWindowTitle(QStringLiteral("Lyrinth.dll active"));

    int32_t midi = 0;
    reportingLibraryErrors([&midi] { midi = modDeclares::LyrinthInitMidi(); });
    if (midi != modDeclares::lyrinthTrue) {
        disable({"Command12", "Command10", "Command9", "Command8", "Command7", "Command6",
                 "Command5", "Command4", "Command3", "Command2", "Panpot", "SetSpeed", "FadeOut",
                 "FadeIn", "Volume"});
    }
    int32_t wave = 0;
    reportingLibraryErrors([&wave] { wave = modDeclares::LyrinthInitWave(); });
    if (wave != modDeclares::lyrinthTrue) {
        disable({"Command13", "Command15"});
    }
    centreOnScreen();
    return true;
}

void frmMain::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void frmMain::Unload() {
    if (!running_) {
        return;
    }
    running_ = false;
    // Every step runs whatever start-up found, even after one of them failed.
    reportingLibraryErrors(modDeclares::LyrinthStopMusic);
    reportingLibraryErrors(modDeclares::LyrinthTermMidi);
    reportingLibraryErrors(modDeclares::LyrinthTermWave);
    reportingLibraryErrors(modDeclares::LyrinthRelease);
}

// Get Version
void frmMain::Command1_Click() {
    dialogs_.showMessage(this, QString::number(modDeclares::LyrinthGetVersion()),
                         QStringLiteral("LyrinthGetVersion result"), Dialogs::Icon::None);
}

// Set MIDI Pan
void frmMain::Command2_Click() {
    passNumber("Panpot", modDeclares::LyrinthSetMusicPanpot);
}

// Fade In MIDI
void frmMain::Command3_Click() {
    passNumber("FadeIn", modDeclares::LyrinthFadeInMusic);
}

// Play MIDI: a cancelled dialog leaves the music playing; the library's failures go unseen.
void frmMain::Command4_Click() {
    if (!chooseFile(QStringLiteral("Open MIDI File"),
                    QStringLiteral("MIDI Sequences|*.mid;*.midi|All Files|*.*|"))) {
        return;
    }
    ignoringLibraryErrors(modDeclares::LyrinthStopMusic);
    ignoringLibraryErrors([this] { modDeclares::LyrinthPlayMusic(dlg.FileName); });
}

// Stop MIDI
void frmMain::Command5_Click() {
    modDeclares::LyrinthStopMusic();
}

// Set MIDI Speed
void frmMain::Command6_Click() {
    passNumber("SetSpeed", modDeclares::LyrinthSetMusicSpeed);
}

// Fade Out MIDI
void frmMain::Command7_Click() {
    passNumber("FadeOut", modDeclares::LyrinthFadeOutMusic);
}

// Set MIDI Volume
void frmMain::Command8_Click() {
    passNumber("Volume", modDeclares::LyrinthSetMusicVolume);
}

void frmMain::Command9_Click() {
    showYesOrNo(modDeclares::LyrinthGetMusicPlaying(), "Music is playing", "No music is playing");
}

void frmMain::Command10_Click() {
    showYesOrNo(modDeclares::LyrinthGetMusicLooping(), "Music has looped", "Music has not looped");
}

void frmMain::Command11_Click() {
    showYesOrNo(modDeclares::LyrinthCheckValidMidi(), "The MIDI engine is active",
                "The MIDI engine is not active");
}

void frmMain::Command12_Click() {
    showMessage(QString::number(modDeclares::LyrinthGetMidiTick()));
}

// Play Sound: unlike Play MIDI, a sound that did not start is reported, whatever the reason.
void frmMain::Command13_Click() {
    if (!chooseFile(QStringLiteral("Load WAV File"),
                    QStringLiteral("WAV Files|*.wav|All Files|*.*|"))) {
        return;
    }
    int32_t started = 0;
    ignoringLibraryErrors(
        [this, &started] { started = modDeclares::LyrinthPlaySound(dlg.FileName); });
    if (started != modDeclares::lyrinthTrue) {
        showMessage(QStringLiteral("Can't play sound"));
    }
}

void frmMain::Command14_Click() {
    showYesOrNo(modDeclares::LyrinthCheckValidWave(), "The WAV engine is active",
                "The WAV engine is not active");
}

// Stop Sound
void frmMain::Command15_Click() {
    modDeclares::LyrinthStopSound();
}

// About The Lyrinth Demo
void frmMain::Command16_Click() {
    dialogs_.showMessage(this,
                         QStringLiteral("%1\nVersion %2\n\n%3")
                             .arg(QString::fromUtf8(versionRecord::productName),
                                  QString::fromUtf8(versionRecord::version),
                                  QString::fromUtf8(versionRecord::description)),
                         applicationTitle, Dialogs::Icon::Information);
}

void frmMain::passNumber(const char* textBoxName, int32_t (*libraryFunction)(int32_t)) {
    const QString text = textBox(textBoxName)->text();
    if (text.isEmpty()) {
        return;
    }
    const std::optional<int32_t> number = numberFromText(text);
    if (!number.has_value()) {
        dialogs_.showMessage(this,
                             QStringLiteral("The number is out of range: enter a number from "
                                            "%1 to %2.")
                                 .arg(std::numeric_limits<int32_t>::min())
                                 .arg(std::numeric_limits<int32_t>::max()),
                             applicationTitle, Dialogs::Icon::Warning);
        return;
    }
    libraryFunction(*number);
}

bool frmMain::chooseFile(const QString& title, const QString& filter) {
    try {
        dlg.CancelError = true;
        dlg.DialogTitle = title;
        dlg.Filter = filter;
        dlg.ShowOpen();
    } catch (const ::dlg::CancelledError&) {
        return false;
    }
    return true;
}

QPushButton* frmMain::button(const char* name) const {
    return findChild<QPushButton*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
}

QLineEdit* frmMain::textBox(const char* name) const {
    return findChild<QLineEdit*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
}

void frmMain::disable(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        findChild<QWidget*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly)->setEnabled(false);
    }
}

void frmMain::centreOnScreen() {
    const QRect available = screen()->availableGeometry();
    move(available.center() - rect().center());
}

void frmMain::showMessage(const QString& text) {
    dialogs_.showMessage(this, text, applicationTitle, Dialogs::Icon::None);
}

void frmMain::showYesOrNo(int32_t answer, const char* yes, const char* no) {
    showMessage(QString::fromUtf8(answer != 0 ? yes : no));
}

void frmMain::ignoringLibraryErrors(const std::function<void()>& step) {
    try {
        step();
    } catch (const LibraryError&) {
        // Play MIDI tells the user nothing; Play Sound reads the result it did not get.
    }
}

void frmMain::reportingLibraryErrors(const std::function<void()>& step) {
    try {
        step();
    } catch (const LibraryError& error) {
        dialogs_.showMessage(this, QString::fromStdString(error.what()), applicationTitle,
                             Dialogs::Icon::Warning);
    }
}
