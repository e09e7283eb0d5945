// What the shell tells the user after the document has read a file: the
// file layer's report, message 129, or the event question and the editor.
#include "document/vessor_graph_doc.h"
#include "shell/load_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vessor::graph {
namespace {

const std::string DATA_DIR = GRAPH_TEST_DATA;

class Recorder : public UserInterface {
public:
    void showMessage(const std::string& text, MessageIcon) override { messages.push_back(text); }
    Answer ask(const std::string& text, MessageButtons, MessageIcon) override {
        questions.push_back(text);
        return answer;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    Answer answer = Answer::No;
};

class FakeEditor : public TextEditorLauncher {
public:
    bool open(const std::string& path) override {
        opened.push_back(path);
        return works;
    }
    std::vector<std::string> opened;
    bool works = true;
};

struct Opened {
    Recorder ui;
    FakeEditor editor;
    std::string dataFilePath;
    VessorGraphDoc doc{dataFilePath};

    void open(const std::string& path) {
        EXPECT_TRUE(doc.openDocument(path));
        reportLoad(doc, path, ui, editor);
    }
};

TEST(LoadReport, EachRefusalHasItsMessage) {
    const struct {
        const char* what;
        std::string path;
        std::string message; // empty: none
    } cases[] = {
        {"a plotted file", DATA_DIR + "/zr-t-celsius.txt", ""},
        {"refused content", DATA_DIR + "/fuzz-seeds/blank-after-second.txt", text::INVALID_DATA},
        {"no such file", DATA_DIR + "/no-such-file.txt", text::UNABLE_TO_OPEN},
        {"a folder", DATA_DIR, "An error occurred while reading " + DATA_DIR + ":\nIs a directory."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Opened o;
        o.open(c.path);
        EXPECT_TRUE(o.ui.questions.empty());
        EXPECT_TRUE(o.editor.opened.empty());
        EXPECT_EQ(o.ui.messages, c.message.empty() ? std::vector<std::string>{}
                                                   : std::vector<std::string>{c.message});
    }
}

TEST(LoadReport, EventFilesAreOfferedToTheTextEditor) {
    struct Case {
        Answer answer;
        bool editorWorks;
        std::size_t opened;
        std::size_t messages;
    };
    for (const Case c : {Case{Answer::No, true, 0, 0}, Case{Answer::Yes, true, 1, 0},
                         Case{Answer::Yes, false, 1, 1}}) {
        Opened r;
        r.ui.answer = c.answer;
        r.editor.works = c.editorWorks;
        const std::string path = DATA_DIR + "/zr-ev-rising.txt";
        r.open(path);
        EXPECT_EQ(r.doc.lastStatus(), LoadStatus::EventFile);
        ASSERT_EQ(r.ui.questions.size(), 1u);
        EXPECT_EQ(r.ui.questions[0], text::EVENT_QUESTION);
        ASSERT_EQ(r.editor.opened.size(), c.opened);
        if (c.opened) {
            EXPECT_EQ(r.editor.opened[0], path);
        }
        ASSERT_EQ(r.ui.messages.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(r.ui.messages[0], text::EDITOR_FAILED);
        }
        EXPECT_EQ(r.dataFilePath, "");
        EXPECT_EQ(r.doc.title, "");
    }
}

} // namespace
} // namespace vessor::graph
