#pragma once
// The four delay-line weight documents, compiled into the program as constant
// bytes (JSON text, not NUL-terminated). Model index 0 = model13, 1 = model12,
// 2 = model19, 3 = model18. Read-only process-wide constants: any thread.

namespace BinaryData {
extern const unsigned char model13_json[];
extern const unsigned int model13_jsonSize;
extern const unsigned char model12_json[];
extern const unsigned int model12_jsonSize;
extern const unsigned char model19_json[];
extern const unsigned int model19_jsonSize;
extern const unsigned char model18_json[];
extern const unsigned int model18_jsonSize;
} // namespace BinaryData
