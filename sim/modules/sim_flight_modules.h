// Force feedback, the per-flight HUD, avionics and comm modules, and the
// options module. Each gives the results a flight relies on.
#pragma once

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_documents.h"
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimForceFeedback : public NoopForceFeedback, SimPart {
public:
    using SimPart::SimPart;
};

class SimHud : public NoopHud, SimPart {
public:
    using SimPart::SimPart;
};

class SimAvionics : public NoopAvionics, SimPart {
public:
    using SimPart::SimPart;
};

class SimComm : public NoopComm, SimPart {
public:
    using SimPart::SimPart;
};

// The player options module. It lends a real ConfigDocument read from the
// scenario's optionsFile, relative to the current directory when the
// document is first asked for (the flight directory during a flight); a
// missing file lends an empty document. optReloadOptions reads the file
// again, so whatever the module wrote into the lent document (the host's
// gameplay settings of a network flight) is gone and no block of the
// module stays linked into it. A new flight, and the release of an
// owner's memory, drop the document: the next optGetDocument reads it
// afresh.
class SimOptions : public NoopOptions, SimPart {
public:
    explicit SimOptions(SimState& state) : SimPart(state), documents_(state) {}
    void optReloadOptions() override;
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** document) override;
    void optReleaseDocument(kv::ConfigDocument** document) override;

    // The document lent now or last, null before the first optGetDocument.
    kv::ConfigDocument* document() const { return document_.get(); }
    // Forgets the document.
    void drop() { document_.reset(); }
    // Times the file was read.
    int32_t reads = 0;

private:
    void read();

    SimDocuments documents_;
    SimDocuments::Document document_{nullptr, {}};
};

}  // namespace kvsim
