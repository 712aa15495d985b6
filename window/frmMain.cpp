// The program's one window: layout, start-up and shutdown.
#include "frmMain.h"

#include "Dialogs.h"
#include "LibraryError.h"
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

// Small enough that the longest caption, "LyrinthGetMusicPlaying", fits its 137-pixel button
// inside the style's margins; given in pixels because the layout is in pixels too.
constexpr int fontPixelSize = 11;

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

void frmMain::reportingLibraryErrors(const std::function<void()>& step) {
    try {
        step();
    } catch (const LibraryError& error) {
        dialogs_.showMessage(this, QString::fromStdString(error.what()), applicationTitle,
                             Dialogs::Icon::Warning);
    }
}
