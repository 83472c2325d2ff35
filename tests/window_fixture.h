// A calculator window on Qt's offscreen platform, in a temporary program folder, with message
// boxes, sounds, documents and dialogs replaced by the strict doubles of doubles.h. Timers are
// fired by hand (Fire) and a running program's sleeps take no time (WhileAsleep), so no test
// waits on the wall clock.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <future>
#include <memory>

#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/programfiles.h"
#include "panel/funccard.h"
#include "panel/layout.h"
#include "panel/mainwindow.h"
#include "panel/panelpicture.h"
#include "panel/paperviewer.h"
#include "tests/doubles.h"

namespace orrindale::testing {

// Bytes as the program folder keeps them, scrambled.
inline void WriteScrambledBytes(const QString& path, std::string bytes) {
    ScrambleBytes(bytes);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A picture as the program folder keeps it (LoadScrambledPng reads it back).
inline void WriteScrambledPng(const QString& path, const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    for (char& c : png)
        c = static_cast<char>(c ^ 0xB7);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(png);
}

// A plain stand-in for the panel picture: sky blue around a grey case of the right size.
inline void WritePanelPicture(const QString& path) {
    QImage panel(layout::kPanelWidth, layout::kPanelHeight, QImage::Format_RGB32);
    panel.fill(QColor(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue));
    QPainter(&panel).fillRect(10, 10, panel.width() - 20, panel.height() - 20,
                              QColor(200, 196, 186));
    WriteScrambledPng(path, panel);
}

class Window {
public:
    explicit Window(bool withPanel = true) {
        if (withPanel) WritePanelPicture(File(files::kPanelPicture));
    }
    ~Window() { Close(); }

    QString File(const char* name) const { return dir_.path() + "/" + name; }
    bool Exists(const char* name) const { return QFile::exists(File(name)); }

    // `preloaded`: the panel picture read ahead, as the program does.
    TmainFM& Start(std::unique_ptr<PanelPreload> preloaded = {}) {
        Services services;
        services.ProgramFolder = dir_.path() + "/";
        services.Messages = &messages;
        services.Sounds = &soundSwitch_;
        services.Documents = &opener;
        services.Bounds = &bounds;
        services.Printers = &printers;
        services.Files = &files;
        main_ = std::make_unique<TmainFM>(services);
        main_->SetPacer(Pacer([this] { return now_; },
                              [this](Pacer::TimePoint until) {
                                  now_ = until;
                                  if (WhileAsleep) WhileAsleep();
                              }));
        if (preloaded) main_->SetPreloadedPanel(std::move(preloaded));
        plist_ = std::make_unique<TplistFM>(main_->PaperRoll(), bounds);
        main_->SetPaperWindow(plist_.get());
        main_->show();
        QCoreApplication::processEvents();
        return *main_;
    }

    // Asks the window to close; true when it closed.
    bool Close() {
        if (!main_ || !main_->isVisible()) return true;
        main_->close();
        QCoreApplication::processEvents();
        return !main_->isVisible();
    }

    // A timer of the window by its name (ChgModeTimer, brightTimer, dimTimer, busyTimer,
    // feedTimer), or of a peripheral window standing beside it (motionTimer, closeTimer).
    QTimer& Timer(const char* name) const {
        auto* timer = main_->findChild<QTimer*>(name);
        for (QWidget* window : QApplication::topLevelWidgets())
            if (!timer) timer = window->findChild<QTimer*>(name);
        if (!timer) throw std::logic_error(std::string("no timer ") + name);
        return *timer;
    }
    // Fires a timer by hand as its timeout would, when it is running; false when it is not.
    bool Fire(const char* name) {
        QTimer& timer = Timer(name);
        if (!timer.isActive()) return false;
        if (timer.isSingleShot()) timer.stop();
        QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
        return true;
    }
    // Fires a timer until it stops (at most limit times); returns how often it fired.
    int FireUntilStopped(const char* name, int limit = 1000) {
        int n = 0;
        while (n < limit && Fire(name))
            ++n;
        return n;
    }

    // Delivers the events already posted (a deferred close, say); no time passes.
    void Pump() { QCoreApplication::processEvents(); }
    // A running program paces itself by sleeps of the run loop. Here they take no time: each
    // moves the window's clock on to the mark it sleeps until and calls WhileAsleep, where a
    // test makes happen what that time would bring (a feed tick, a key).
    std::function<void()> WhileAsleep;

    // Power on through the ON switch label, as a click does; the mode-change timer then
    // switches the engine on.
    void PowerOn() {
        main_->SetPowerSwitch(true);
        Fire("ChgModeTimer");
    }

    void KeyDown(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, bool repeat = false) {
        QKeyEvent e(QEvent::KeyPress, qtKey, mods, QString(), repeat);
        QCoreApplication::sendEvent(main_.get(), &e);
    }
    void KeyUp(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, bool repeat = false) {
        QKeyEvent e(QEvent::KeyRelease, qtKey, mods, QString(), repeat);
        QCoreApplication::sendEvent(main_.get(), &e);
    }
    void Type(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        KeyDown(qtKey, mods);
        KeyUp(qtKey, mods);
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        if (type == QEvent::MouseMove) held = Qt::NoButton;
        QMouseEvent e(type, at, main_->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(main_.get(), &e);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseMove, at);
        Mouse(QEvent::MouseButtonPress, at, button);
        Mouse(QEvent::MouseButtonRelease, at, button);
    }
    // The centre of a key's area, or of a switch label.
    static QPoint KeyCentre(int key) {
        layout::Box b = layout::KeyArea(key);
        return QPoint((b.X1 + b.X2) / 2, (b.Y1 + b.Y2) / 2);
    }
    static QPoint LabelCentre(layout::SwitchSetting s) {
        const layout::Rect& r = layout::Switch(s).LabelArea;
        return QPoint(r.Left + r.Width / 2, r.Top + r.Height / 2);
    }

    ScriptedMessenger messages;
    RecordingSoundPlayer sounds;
    RecordingOpener opener;
    ScriptedPrinterChooser printers;
    ScriptedFileChooser files;
    MainBounds bounds;

    // The paper viewer made beside the window by Start().
    TplistFM& PaperWindow() { return *plist_; }

private:
    SoundSwitch soundSwitch_{sounds};
    Pacer::TimePoint now_{};
    QTemporaryDir dir_;
    std::unique_ptr<TmainFM> main_;
    std::unique_ptr<TplistFM> plist_;
};

} // namespace orrindale::testing
