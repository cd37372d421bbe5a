// Turns one resource file into a C++ source that registers the bytes with the program's
// resource table at start-up. Usage: vtrm_embed NAME TYPE RAW|UTF16LE input output.cpp
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Utf8ToUtf16le(const std::vector<unsigned char>& in, std::vector<unsigned char>& out,
                   std::string& error) {
    out = {0xFF, 0xFE};
    size_t i = 0;
    if (in.size() >= 3 && in[0] == 0xEF && in[1] == 0xBB && in[2] == 0xBF) i = 3;
    auto put = [&](uint32_t u) {
        out.push_back(static_cast<unsigned char>(u & 0xFF));
        out.push_back(static_cast<unsigned char>(u >> 8));
    };
    while (i < in.size()) {
        uint32_t c = in[i];
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0) {
            error = "invalid UTF-8 at byte " + std::to_string(i);
            return false;
        }
        if (extra > 0) c &= (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= in.size() || (in[i + k] & 0xC0) != 0x80) {
                error = "invalid UTF-8 at byte " + std::to_string(i);
                return false;
            }
            c = (c << 6) | (in[i + k] & 0x3F);
        }
        i += extra + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s NAME TYPE RAW|UTF16LE input output.cpp\n", argv[0]);
        return 2;
    }
    const std::string name = argv[1], type = argv[2], encoding = argv[3];
    std::ifstream in(argv[4], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vtrm_embed: cannot read resource %s from %s\n", name.c_str(),
                     argv[4]);
        return 1;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    if (encoding == "UTF16LE") {
        std::vector<unsigned char> converted;
        std::string error;
        if (!Utf8ToUtf16le(bytes, converted, error)) {
            std::fprintf(stderr, "vtrm_embed: resource %s (%s): %s\n", name.c_str(), argv[4],
                         error.c_str());
            return 1;
        }
        bytes.swap(converted);
    } else if (encoding != "RAW") {
        std::fprintf(stderr, "vtrm_embed: unknown encoding %s\n", encoding.c_str());
        return 2;
    }

    std::ostringstream os;
    os << "// Generated from " << argv[4] << "; do not edit.\n"
       << "#include \"platform/core/EmbeddedResource.h\"\n"
       << "namespace {\n"
       << "alignas(16) const unsigned char kData[] = {";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 24 == 0) os << "\n";
        os << unsigned(bytes[i]) << ',';
    }
    if (bytes.empty()) os << "0";
    os << "\n};\n"
       << "const bool kRegistered = platform::core::RegisterEmbeddedResource(\"" << name << "\", \""
       << type << "\", kData, " << bytes.size() << ");\n"
       << "} // namespace\n";
    std::ofstream out(argv[5], std::ios::binary);
    out << os.str();
    if (!out) {
        std::fprintf(stderr, "vtrm_embed: cannot write %s\n", argv[5]);
        return 1;
    }
    return 0;
}
