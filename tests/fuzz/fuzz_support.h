// What the fuzz targets share: a scratch folder for the archive under test,
// and silence for the messages the program would show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/message_box.h"
#include "test_support.h"

namespace kestrum::fuzz {

class Scratch {
public:
    Scratch() { SetMessageSink([](const std::string&) {}); }
    std::string WriteArchive(const std::uint8_t* data, std::size_t size) {
        const std::string path = m_dir.Join("input.bsa");
        test::WriteBytes(path, std::string(reinterpret_cast<const char*>(data), size));
        return path;
    }
    const test::TempDir& dir() const { return m_dir; }

private:
    test::TempDir m_dir;
};

}  // namespace kestrum::fuzz
