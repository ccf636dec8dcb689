// Every interface and object of the host contract answering at once with
// the table's no-op answers (sim/calls/host_operations.h): nothing is recorded
// and nothing happens. The no-op host is made of these, and each simulated
// module starts from one and overrides only what it does.
#pragma once

#include <cstdint>

#include <korvane/engine_interfaces.h>
#include <korvane/shell.h>

#include "sim/calls/host_operations.h"

namespace kvsim {

#if defined(__GNUC__)
#pragma GCC diagnostic push
// The rows name their parameters; a fixed answer reads none of them.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#endif

#define KV_NOOP_OPERATION(R, name, params, pass, recorded, result, answer) \
    R name params override { return answer; }
#define KV_NOOP_FORMATTED(name) \
    void name(const char*, ...) override {}
#define KV_NOOP_CLASS(Interface, Name, OPS, FORMATTED) \
    class Noop##Name : public Interface {              \
    public:                                            \
        OPS(KV_NOOP_OPERATION)                         \
        FORMATTED(KV_NOOP_FORMATTED)                   \
    };
#define KV_NOOP_TAGGED(tag, Interface, Name, OPS, FORMATTED, presence) KV_NOOP_CLASS(Interface, Name, OPS, FORMATTED)
#define KV_NOOP_OBJECT(Interface, Name, OPS, kind) KV_NOOP_CLASS(Interface, Name, OPS, KV_NO_FORMATTED_OPERATIONS)

KV_NOOP_CLASS(kv::ApplicationShell, ApplicationShell, KV_SHELL_OPERATIONS, KV_NO_FORMATTED_OPERATIONS)
KV_TAGGED_INTERFACES(KV_NOOP_TAGGED)
KV_HANDED_OUT_OBJECTS(KV_NOOP_OBJECT)

#undef KV_NOOP_OBJECT
#undef KV_NOOP_TAGGED
#undef KV_NOOP_CLASS
#undef KV_NOOP_FORMATTED
#undef KV_NOOP_OPERATION

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace kvsim
