// mkpictures PROGRAM_DIR FORM_DIR
//
// Draws the calculator's pictures: the scrambled panel, function card and plotter pictures (the
// panel and the plotter also at 2x; the 2x panel as runs, common/runpicture.h) into the program
// folder, and the form pictures as PNG files
// with a resource list (panel_pictures.qrc) into FORM_DIR, from where they are compiled into the
// program.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <utility>
#include <vector>

#include "art.h"
#include "common/programfiles.h"
#include "common/runpicture.h"
#include "panel/pictures.h"
#include "plotter/plotart.h"
#include "tools/outline2x.h"
#include "tools/picturefiles.h"

using namespace orrindale;

namespace {

using Form = std::pair<QString, QImage>;

bool WriteScrambledPng(const QString& path, const QImage& image) {
    return tools::WriteScrambled(path, tools::QuickPng(image));
}

QByteArray Bytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The 2x panel is stored as runs of one colour, which the window reads without decompressing.
bool WriteScrambledRuns(const QString& path, const QImage& image) {
    return tools::WriteScrambled(path, Bytes(RunPicture(image).Encode()));
}

// The 1x panel as a PNG, and as runs tied to that PNG's bytes, which the window reads in its
// place while they match.
bool WritePanel(const QString& folder, const QImage& panel) {
    const QByteArray png = tools::QuickPng(panel);
    const QByteArray stored = tools::Scrambled(png);
    return tools::WriteScrambled(folder + files::kPanelPicture, png) &&
           tools::WriteScrambled(folder + files::kPanelRuns,
                                 Bytes(EncodeRunsOf(std::string_view(stored.data(), stored.size()),
                                                    RunPicture(panel))));
}

// The name of a form picture drawn at twice the resolution.
QString At(const QString& name, int scale) {
    return scale == 1 ? name : name + QStringLiteral("@2x");
}

void AddKeyAndButtonForms(std::vector<Form>& forms, int scale) {
    for (int key = 1; key <= layout::kKeyCount; ++key) {
        art::PanelState state;
        state.PressedKey = key;
        forms.emplace_back(At(pictures::PressedKey(key), scale),
                           art::Crop(art::RenderPanel(state, scale), layout::PressedKeyRect(key)));
    }
    for (const layout::PrintButtonPlace& place : layout::kPrintButtons) {
        art::PanelState state;
        state.PrintDown[static_cast<size_t>(place.Button)] = true;
        forms.emplace_back(At(pictures::PrintButtonDown(place.Button), scale),
                           art::Crop(art::RenderPanel(state, scale), place.Pressed));
    }
    art::PanelState feed, record, enter;
    feed.FeedDown = record.RecordDown = enter.EnterDown = true;
    forms.emplace_back(At(pictures::kFeedDown, scale),
                       art::Crop(art::RenderPanel(feed, scale), layout::kFeedPressed));
    forms.emplace_back(At(pictures::kCardRecordDown, scale),
                       art::Crop(art::RenderPanel(record, scale), layout::kCardRecordPressed));
    forms.emplace_back(At(pictures::kCardEnterDown, scale),
                       art::Crop(art::RenderPanel(enter, scale), layout::kCardEnterPressed));
}

void AddSwitchAndWheelForms(std::vector<Form>& forms, const QImage& panel, int scale) {
    using layout::SwitchSetting;
    for (const layout::SwitchPlace& place : layout::kSwitches) {
        art::PanelState state;
        switch (place.Setting) {
        case SwitchSetting::Deg:
        case SwitchSetting::Rad: state.Angle = place.Setting; break;
        case SwitchSetting::Fix:
        case SwitchSetting::Float: state.Display = place.Setting; break;
        case SwitchSetting::Off:
        case SwitchSetting::On: state.Power = place.Setting; break;
        case SwitchSetting::Run:
        case SwitchSetting::Prgm: state.Mode = place.Setting; break;
        }
        forms.emplace_back(At(pictures::SwitchLever(place.Setting), scale),
                           art::Crop(art::RenderPanel(state, scale), place.Lever));
        forms.emplace_back(At(pictures::SwitchLabel(place.Setting), scale),
                           art::Crop(panel, place.LabelArea));
    }
    for (int digit = 0; digit <= 9; ++digit) {
        art::PanelState state;
        state.Wheel = digit;
        forms.emplace_back(At(pictures::WheelDigit(digit), scale),
                           art::Crop(art::RenderPanel(state, scale), layout::kWheelDigit));
    }
    forms.emplace_back(At(pictures::kWheelUp, scale), art::Crop(panel, layout::kWheelUp.Area));
    forms.emplace_back(At(pictures::kWheelDown, scale), art::Crop(panel, layout::kWheelDown.Area));
}

void AddLampForms(std::vector<Form>& forms, int scale) {
    art::PanelState lit;
    lit.DisplayLamp = lit.ErrorLamp = true;
    const QImage litPanel = art::RenderPanel(lit, scale);
    forms.emplace_back(At(pictures::kDisplayLamp, scale),
                       art::Crop(litPanel, layout::kDisplayLamp));
    forms.emplace_back(At(pictures::kErrorLamp, scale), art::Crop(litPanel, layout::kErrorLamp));
    forms.emplace_back(At(pictures::kGlyphSheet, scale), art::RenderGlyphSheet(scale));
}

void AddOtherForms(std::vector<Form>& forms, const QImage& panel, int scale) {
    forms.emplace_back(At(pictures::kPaper, scale), art::Crop(panel, layout::kPaper));
    forms.emplace_back(At(pictures::kPlaten, scale), art::Crop(panel, layout::kPlaten));
    forms.emplace_back(At(pictures::kCardAB, scale), art::RenderCardFace(false, false, scale));
    forms.emplace_back(At(pictures::kCardWPA, scale), art::RenderCardFace(true, false, scale));
    forms.emplace_back(At(pictures::kCardWPB, scale), art::RenderCardFace(false, true, scale));
    forms.emplace_back(At(pictures::kCardSlot, scale), art::Crop(panel, layout::kCardView));
    forms.emplace_back(At(pictures::kCardSideA, scale),
                       art::RenderSideLabel(QStringLiteral("A"), scale));
    forms.emplace_back(At(pictures::kCardSideB, scale),
                       art::RenderSideLabel(QStringLiteral("B"), scale));
    forms.emplace_back(At(pictures::kOpenHand, scale), art::RenderHandCursor(false, scale));
    forms.emplace_back(At(pictures::kClosedHand, scale), art::RenderHandCursor(true, scale));
}

bool WriteForms(const QString& folder, const std::vector<Form>& forms) {
    QString qrc;
    QTextStream out(&qrc);
    out << "<RCC>\n  <qresource prefix=\"/panel\">\n";
    for (const auto& [name, image] : forms) {
        const QByteArray png = tools::QuickPng(image);
        QFile file(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (png.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(png) != png.size())
            return false;
        out << "    <file>" << name << ".png</file>\n";
    }
    out << "  </qresource>\n</RCC>\n";
    QFile file(folder + QStringLiteral("/panel_pictures.qrc"));
    return file.open(QIODevice::WriteOnly) && file.write(qrc.toUtf8()) == qrc.toUtf8().size();
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen; the build runs this without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkpictures PROGRAM_DIR FORM_DIR\n");
        return 2;
    }
    const QString programDir = QString::fromLocal8Bit(argv[1]);
    const QString formDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(programDir);
    QDir().mkpath(formDir);

    const QImage panel = art::RenderPanel(art::PanelState());
    // Every picture also at 2x, for screens that scale by two.
    const QImage panel2x = art::RenderPanel(art::PanelState(), 2);
    std::vector<Form> forms;
    for (int scale : {1, 2}) {
        const QImage& at = scale == 1 ? panel : panel2x;
        AddKeyAndButtonForms(forms, scale);
        AddSwitchAndWheelForms(forms, at, scale);
        AddLampForms(forms, scale);
        AddOtherForms(forms, at, scale);
    }
    const QString folder = programDir + QLatin1Char('/');
    const bool written =
        WritePanel(folder, panel) &&
        WriteScrambledRuns(
            folder + files::kPanelPicture2x,
            FillSkyInsideOutline(panel2x, panel,
                                 qRgb(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue))) &&
        WriteScrambledPng(folder + files::kFunctionCardPicture, art::RenderFunctionCard()) &&
        WriteScrambledPng(folder + files::kFunctionCardPicture2x, art::RenderFunctionCard(2)) &&
        WriteScrambledPng(folder + files::kPlotterPicture, plotart::Body()) &&
        WriteScrambledPng(
            folder + files::kPlotterPicture2x,
            FillSkyInsideOutline(plotart::Body(2), plotart::Body(), plotart::kSkyBlue.rgb())) &&
        WriteForms(formDir, forms);
    if (!written) {
        std::fprintf(stderr, "mkpictures: could not write the pictures\n");
        return 1;
    }
    return 0;
}
