// libFuzzer entry: the download-file reader over arbitrary bytes.
#include "document/document_json.h"
#include "document/vessor_graph_doc.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

class Silent : public vessor::UserInterface {
public:
    void showMessage(const std::string&, vessor::MessageIcon) override {}
    vessor::Answer ask(const std::string&, vessor::MessageButtons, vessor::MessageIcon) override {
        return vessor::Answer::Yes;
    }
};

class NoEditor : public vessor::graph::TextEditorLauncher {
public:
    bool open(const std::string&) override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Silent ui;
    NoEditor editor;
    std::string path;
    vessor::graph::CVessorGraphDoc doc(ui, editor, path);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (doc.ParseDownloadText(bytes, "fuzz.txt") == vessor::graph::LoadStatus::Ok) {
        // Everything the view and the exports read must be in bounds.
        (void)vessor::graph::documentToJson(doc);
        for (const vessor::graph::TraceSet* set : {&doc.primary, &doc.secondary}) {
            for (int t = 0; t < set->data.traceCount(); ++t) {
                for (int i = 0; i <= set->data.lastPoint(t); ++i)
                    (void)set->data.yValue(t, i);
            }
        }
    }
    return 0;
}
