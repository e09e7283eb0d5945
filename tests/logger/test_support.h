// Test doubles for the core: a user interface that records and answers from
// a script, a transport that replays scripted bytes, and block builders.
#pragma once

#include "logger/logger_config.h"
#include "logger/usb_xpress.h"
#include "logger/user_interface.h"

#include <climits>
#include <deque>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace vessor::test {

class RecordingUserInterface : public UserInterface {
public:
    struct Entry {
        std::string text;
        MessageIcon icon;
        bool question;
    };
    void showMessage(const std::string& text, MessageIcon icon) override {
        entries.push_back({text, icon, false});
    }
    Answer ask(const std::string& text, MessageButtons buttons, MessageIcon icon) override {
        entries.push_back({text, icon, true});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MessageButtons::OkCancel ? Answer::Cancel : Answer::No;
    }
    // Ids of the messages shown, looked up from their texts.
    std::vector<int> messageIds() const;
    // The texts shown, messages and questions alike, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        for (const Entry& e : entries)
            shown.push_back(e.text);
        return shown;
    }
    // Answers handed out to questions in order.
    void script(std::initializer_list<Answer> more) { answers.insert(answers.end(), more); }
    std::size_t unusedAnswers() const { return answers.size(); }
    void clear() { entries.clear(); }

    std::vector<Entry> entries;
    std::deque<Answer> answers;
};

// A transport that hands out scripted reply bytes and records what the host
// sends and how it reads.
class ScriptedXpress : public UsbXpress {
public:
    std::uint32_t deviceCount = 1;
    std::vector<bool> productStringFails;  // per index; missing = succeeds
    bool openFails = false;
    bool rxQueueFails = false;
    std::deque<std::uint8_t> replies;
    std::uint32_t maxChunk = UINT_MAX;     // bytes handed out per read call
    std::vector<std::uint8_t> written;
    std::vector<std::uint32_t> readSizes;
    std::vector<std::uint32_t> openedIndexes;
    int opens = 0;
    int closes = 0;
    std::uint32_t readTimeout = 500, writeTimeout = 500;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> timeoutsSet;

    void queue(const std::vector<std::uint8_t>& bytes) { replies.insert(replies.end(), bytes.begin(), bytes.end()); }

    UsbStatus getNumDevices(std::uint32_t& count) override;
    UsbStatus getProductString(std::uint32_t index, std::string& text, std::uint32_t selector) override;
    UsbStatus open(std::uint32_t index, Handle& handle) override;
    UsbStatus close(Handle handle) override;
    UsbStatus read(Handle handle, void* buffer, std::uint32_t toRead, std::uint32_t& bytesRead) override;
    UsbStatus write(Handle handle, const void* buffer, std::uint32_t toWrite, std::uint32_t& bytesWritten) override;
    UsbStatus setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override;
    UsbStatus getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) override;
    UsbStatus checkRxQueue(Handle handle, std::uint32_t& bytesInQueue, std::uint32_t& queueStatus) override;
};

// A block of the model with a serial number, everything else zero.
LoggerConfig configFor(int model, std::uint32_t serial = 123456789);

// Reply bytes: header (command echo, length little-endian) then body.
std::vector<std::uint8_t> reply(std::uint8_t command, const std::vector<std::uint8_t>& body,
                                std::optional<std::uint16_t> announced = std::nullopt);

// A fresh temporary directory, removed at exit.
std::string tempDir();

} // namespace vessor::test
