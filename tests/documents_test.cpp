// OpenDocument, and the scripted message boxes the window tests rely on.
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "common/choosers.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "common/sounds.h"
#include "tests/doubles.h"

namespace orrindale {
namespace {

using testing::RecordingOpener;
using testing::ScriptedMessenger;

class OpenDocumentTest : public ::testing::Test {
protected:
    void Touch(const QString& name) {
        QFile file(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }

    QTemporaryDir folder;
    RecordingOpener opener;
    ScriptedMessenger messenger;
};

TEST_F(OpenDocumentTest, OpensAFileOfTheProgramFolderSilently) {
    Touch(files::kHelpDocument);
    EXPECT_TRUE(OpenDocument(folder.path(), files::kHelpDocument, opener, messenger));
    EXPECT_EQ(opener.opened, QStringList{QDir(folder.path()).filePath(files::kHelpDocument)});
    EXPECT_TRUE(messenger.Messages().empty());
}

TEST_F(OpenDocumentTest, MissingFileIsReportedAndNothingIsOpened) {
    EXPECT_FALSE(OpenDocument(folder.path(), files::kHelpDocument, opener, messenger));
    EXPECT_TRUE(opener.opened.isEmpty());
    ASSERT_EQ(messenger.Messages().size(), 1u);
    EXPECT_EQ(messenger.Messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(messenger.Messages()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(messenger.LastText(), "Unable to find document");
}

TEST_F(OpenDocumentTest, AFolderOfThatNameIsNoDocument) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(files::kHelpDocument));
    EXPECT_FALSE(OpenDocument(folder.path(), files::kHelpDocument, opener, messenger));
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_EQ(messenger.LastText(), "Unable to find document");
}

TEST_F(OpenDocumentTest, ViewerFailureNamesTheFile) {
    Touch("CardHelp.pdf");
    opener.succeed = false;
    EXPECT_FALSE(OpenDocument(folder.path(), "CardHelp.pdf", opener, messenger));
    EXPECT_EQ(opener.opened.size(), 1);
    ASSERT_EQ(messenger.Messages().size(), 1u);
    EXPECT_EQ(messenger.Messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(messenger.LastText(), "Failed to load file: CardHelp.pdf");
}

// Printing goes through the module beside the program: the built module offers the dialog; a
// module that cannot be loaded is reported and prints nothing.
TEST(DialogPrinterChooser, TheModuleOffersTheDialogAndAMissingOneIsReported) {
    QLibrary module(QStringLiteral(ORRINDALE_PROGRAM_DIR "/") + files::kPrintModule);
    EXPECT_NE(module.resolve(kPrintEntry), nullptr) << module.errorString().toStdString();

    ScriptedMessenger messenger;
    DialogPrinterChooser chooser(QDir::temp().filePath("no-such-module.so"), messenger);
    EXPECT_EQ(chooser.Choose(QPageLayout::Portrait, nullptr), nullptr);
    ASSERT_EQ(messenger.Messages().size(), 1u);
    EXPECT_EQ(messenger.Messages()[0].kind, MessageKind::Error);
    EXPECT_TRUE(messenger.LastText().startsWith("ERROR: Printing is not available"));
}

TEST(ScriptedMessenger, AnswersQuestionsInOrderAndLetsOkBoxesPass) {
    ScriptedMessenger messenger;
    messenger.Script(MessageAnswer::Yes);
    messenger.Script(MessageAnswer::No);
    messenger.Error("ERROR: first");
    EXPECT_EQ(messenger.Confirm("Save?", MessageButtons::YesNoCancel), MessageAnswer::Yes);
    messenger.Information("between");
    EXPECT_EQ(messenger.Confirm("Again?"), MessageAnswer::No);
    EXPECT_EQ(messenger.UnusedAnswers(), 0);
    ASSERT_EQ(messenger.Messages().size(), 4u);
    EXPECT_EQ(messenger.Messages()[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(messenger.Messages()[1].buttons, MessageButtons::YesNoCancel);
}

TEST(ScriptedMessenger, FailsOnWhatTheTestDidNotExpect) {
    EXPECT_NONFATAL_FAILURE(ScriptedMessenger().Confirm("Save?"), "unexpected question: Save?");
    EXPECT_NONFATAL_FAILURE(ScriptedMessenger().Error("ERROR: lost"),
                            "message box nobody looked at: ERROR: lost");
    EXPECT_NONFATAL_FAILURE(ScriptedMessenger().Script(MessageAnswer::Yes),
                            "1 scripted answers unused");
    EXPECT_NONFATAL_FAILURE(testing::ScriptedFileChooser().OpenFile({"Open", "", ""}, nullptr),
                            "unexpected file dialog: Open");
}

TEST(FolderMemory, EachKindOfFileStartsWhereThatKindWasLastChosen) {
    QTemporaryDir dir;
    const QString kept = dir.filePath("kept.txt");
    QFile(kept).open(QIODevice::WriteOnly);
    const QString cards = "Magnetic Card File (*.mcf);;All Files (*.*)";
    const QString texts = "Text Files (*.txt);;All Files (*)";
    FolderMemory folders;
    EXPECT_EQ(folders.StartOf({"Open", "*.mcf", cards, "mcf"}), "*.mcf"); // nothing chosen yet
    folders.Remember({"Open", "*.mcf", cards, "mcf"}, "/home/u/cards/a.mcf");
    folders.Remember({"Save", "/prog/", texts}, dir.filePath("b.txt"));
    const struct {
        FileQuestion question;
        QString start;
    } cases[] = {
        {{"Open", "*.mcf", cards, "mcf"}, "/home/u/cards/*.mcf"},
        {{"Save", "/prog/x.mcf", cards, "mcf"}, "/home/u/cards/x.mcf"},
        {{"Open", "/prog/", texts}, dir.path()},
        {{"Save", kept, texts}, kept}, // a file the user has keeps its folder
        {{"Open", "/prog/*.ptf", "Plot Files (*.ptf)", "ptf"}, "/prog/*.ptf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folders.StartOf(c.question), c.start) << c.question.Start.toStdString();
}

} // namespace
} // namespace orrindale
