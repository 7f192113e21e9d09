#pragma once

#include "MessageBox.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void PutLittleEndian(Bytes& bytes, uint32_t value, int size)
{
    for (int k = 0; k < size; ++k)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * k)));
}

// A mono 22050 Hz PCM WAVE image whose samples follow a little saw wave of
// the given pitch, so that every sound made with another pitch differs.
inline Bytes MakeWave(int bitsPerSample, int sampleCount, int pitch)
{
    const int blockAlign = bitsPerSample / 8;
    Bytes wave{'R', 'I', 'F', 'F'};
    PutLittleEndian(wave, 36 + sampleCount * blockAlign, 4);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    for (const auto& [value, size] : {std::pair{16, 4}, {1, 2}, {1, 2}, {22050, 4}, {22050 * blockAlign, 4},
                                     {blockAlign, 2}, {bitsPerSample, 2}})
        PutLittleEndian(wave, value, size);
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(wave, sampleCount * blockAlign, 4);
    for (int n = 0; n < sampleCount; ++n)
        PutLittleEndian(wave, static_cast<uint32_t>(n * pitch * 97), blockAlign);
    return wave;
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh, empty folder below the build's test folder.
inline std::filesystem::path FreshFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(TOVRIK_TEST_TMP) / "sound" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Answers every message box with OK and keeps what it was asked to show.
class MessageRecorder {
public:
    MessageRecorder()
        : previous(SetMessageHandler([this](const MessageRequest& request) {
              shown.push_back(request);
              return MessageResult::Ok;
          }))
    {
    }
    ~MessageRecorder() { SetMessageHandler(std::move(previous)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    std::vector<MessageRequest> shown;

private:
    MessageHandler previous;
};
