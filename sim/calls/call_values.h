// The values a call carries into the call log: arguments and results as the
// simulated modules hand them over, typed, and turned into trace values only
// when the log records them. Each value is written through a writer W, one
// of two kinds with the same operations:
//
//   null() boolean(b) integer(i) unsignedInteger(u) real(x) text(s, n)
//   handle(pointer, kind) json(j) beginArray() endArray() beginObject()
//   key(name) endObject()
//
// TraceText appends the trace's JSON text; JsonValueWriter builds the
// in-memory record a test reads. One put() per kind of value serves both,
// so the two can never disagree on a value's shape.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

#include <korvane/records.h>

namespace kvsim {

// Ordered, so trace records read "op", "args", "ret" in that order.
using Json = nlohmann::ordered_json;

// A text argument; a null pointer is written as null. A length of npos
// means up to the terminator.
struct Text {
    const char* s;
    std::size_t length = std::string::npos;
};

// An opaque pointer, written as "kind:n" with n numbered per kind in order
// of first sight, or null.
struct Handle {
    const void* pointer;
    const char* kind;
};

// N values read from a pointer, written as an array, or null for a null
// pointer: positions, velocities, orientations, colours, pairs.
template <typename T, int N>
struct Fixed {
    const T* values;
};
using Position = Fixed<double, 3>;
using Vector3 = Fixed<float, 3>;
using Orientation = Fixed<float, 9>;
using Color = Fixed<float, 4>;
using Pair = Fixed<float, 2>;
using Rgb = Fixed<int32_t, 3>;

// A value read through a pointer that may be null.
template <typename T>
struct Maybe {
    const T* value;
};

// Numbers and truth values. A real is written with enough digits to give
// back the same value; a 32-bit real is widened first.
template <typename W, typename T, typename std::enable_if<std::is_arithmetic<T>::value, int>::type = 0>
void put(W& w, T value) {
    if constexpr (std::is_same<T, bool>::value) {
        w.boolean(value);
    } else if constexpr (std::is_floating_point<T>::value) {
        w.real(static_cast<double>(value));
    } else if constexpr (std::is_signed<T>::value) {
        w.integer(static_cast<int64_t>(value));
    } else {
        w.unsignedInteger(static_cast<uint64_t>(value));
    }
}

template <typename W>
void put(W& w, std::nullptr_t) {
    w.null();
}

template <typename W>
void put(W& w, const Text& t) {
    if (!t.s) return w.null();
    w.text(t.s, t.length == std::string::npos ? std::strlen(t.s) : t.length);
}

template <typename W>
void put(W& w, const char* s) {
    put(w, Text{s});
}

template <typename W>
void put(W& w, const std::string& s) {
    w.text(s.data(), s.size());
}

template <typename W>
void put(W& w, const Handle& h) {
    if (!h.pointer) return w.null();
    w.handle(h.pointer, h.kind);
}

template <typename W>
void put(W& w, const Json& j) {
    w.json(j);
}

template <typename W, typename T>
void put(W& w, const Maybe<T>& m) {
    if (!m.value) return w.null();
    put(w, *m.value);
}

template <typename W, typename T, int N>
void put(W& w, const Fixed<T, N>& f) {
    if (!f.values) return w.null();
    w.beginArray();
    for (int i = 0; i < N; ++i) put(w, f.values[i]);
    w.endArray();
}

// A fixed array inside a record; a char array is a text, never this.
template <typename W, typename T, std::size_t N,
          typename std::enable_if<!std::is_same<T, char>::value, int>::type = 0>
void put(W& w, const T (&values)[N]) {
    w.beginArray();
    for (std::size_t i = 0; i < N; ++i) put(w, values[i]);
    w.endArray();
}

// A list of any length, as an array.
template <typename W, typename T>
void put(W& w, const std::vector<T>& values) {
    w.beginArray();
    for (const T& value : values) put(w, value);
    w.endArray();
}

template <typename W, typename T>
void field(W& w, const char* name, const T& value) {
    w.key(name);
    put(w, value);
}

// Records passed by pointer: objects with the code's field names, or null.

template <typename W>
void put(W& w, const kv::GraphicsSetup* r) {
    if (!r) return w.null();
    w.beginObject();
    field(w, "displayDeviceId", r->displayDeviceId);
    field(w, "displayWidth", r->displayWidth);
    field(w, "displayHeight", r->displayHeight);
    field(w, "displayDepth", r->displayDepth);
    field(w, "appFlag", r->appFlag);
    field(w, "fixedFlag", r->fixedFlag);
    field(w, "zBufferDepth", r->zBufferDepth);
    field(w, "maxVertexCount", r->maxVertexCount);
    field(w, "maxIndexCount", r->maxIndexCount);
    field(w, "maxTextureCount", r->maxTextureCount);
    field(w, "maxModelType", r->maxModelType);
    field(w, "maxMeshPerScene", r->maxMeshPerScene);
    field(w, "maxModelPerScene", r->maxModelPerScene);
    field(w, "maxLightPerScene", r->maxLightPerScene);
    w.endObject();
}

template <typename W>
void put(W& w, const kv::DisplayOptions* r) {
    if (!r) return w.null();
    w.beginObject();
    field(w, "reserved", r->reserved);
    field(w, "objectDetail", r->objectDetail);
    field(w, "shadow", r->shadow);
    w.endObject();
}

template <typename W>
void put(W& w, const kv::TerrainSetup* r) {
    if (!r) return w.null();
    w.beginObject();
    field(w, "horizonDistance", r->horizonDistance);
    field(w, "detailLevel", r->detailLevel);
    field(w, "detailMeshSize", r->detailMeshSize);
    field(w, "waterEffect", r->waterEffect);
    field(w, "terrainDetailLoaded", r->terrainDetailLoaded);
    field(w, "noiseTexture", r->noiseTexture);
    field(w, "groundObjectDensity", r->groundObjectDensity);
    w.endObject();
}

template <typename W>
void put(W& w, const kv::CameraParams* r) {
    if (!r) return w.null();
    w.beginObject();
    field(w, "viewportLeft", r->viewportLeft);
    field(w, "viewportTop", r->viewportTop);
    field(w, "viewportRight", r->viewportRight);
    field(w, "viewportBottom", r->viewportBottom);
    field(w, "fieldOfView", r->fieldOfView);
    field(w, "aspectRatio", r->aspectRatio);
    field(w, "nearClip", r->nearClip);
    field(w, "farClip", r->farClip);
    field(w, "minPixelSize", r->minPixelSize);
    field(w, "extraBlock", r->extraBlock != nullptr);
    w.endObject();
}

template <typename W>
void put(W& w, const kv::FontSettings* r) {
    if (!r) return w.null();
    w.beginObject();
    field(w, "faceName", Text{r->faceName, strnlen(r->faceName, sizeof r->faceName)});
    field(w, "size", r->size);
    field(w, "styleFlags", r->styleFlags);
    w.endObject();
}

template <typename W>
void put(W& w, const kv::ControlEvent* r) {
    if (!r) return w.null();
    w.beginObject();
    field(w, "words", r->words);
    w.endObject();
}

template <typename W>
void put(W& w, const kv::TimeRecord* r) {
    if (!r) return w.null();
    w.beginObject();
    field(w, "words", r->words);
    w.endObject();
}

// What an observer of the log learns of a record's first argument without
// any record being built: a number, or a text.
struct FirstArgument {
    double number;         // NaN when the first argument is no number
    const char* text;      // null when it is no text
    std::size_t length;
};

inline FirstArgument firstArgument() { return FirstArgument{std::nan(""), nullptr, 0}; }

template <typename T, typename... Rest>
FirstArgument firstArgument(const T& value, const Rest&...) {
    if constexpr (std::is_arithmetic<T>::value && !std::is_same<T, bool>::value) {
        return FirstArgument{static_cast<double>(value), nullptr, 0};
    } else if constexpr (std::is_same<T, Text>::value) {
        if (!value.s) return firstArgument();
        return FirstArgument{std::nan(""), value.s,
                             value.length == std::string::npos ? std::strlen(value.s) : value.length};
    } else if constexpr (std::is_convertible<const T&, const char*>::value) {
        return firstArgument(Text{value});
    } else if constexpr (std::is_same<T, std::string>::value) {
        return FirstArgument{std::nan(""), value.data(), value.size()};
    } else {
        return firstArgument();
    }
}

// The number a result stands for, for observers: NaN when it is none.
template <typename T>
double resultNumber(const T& value) {
    if constexpr (std::is_arithmetic<T>::value) {
        return static_cast<double>(value);
    } else {
        return std::nan("");
    }
}

}  // namespace kvsim
