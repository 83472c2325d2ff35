// An engine host that does nothing, for tests, tools and fuzz targets that only need a
// Calculator's state.
#pragma once

#include <string>

#include "engine/host.h"

namespace orrindale {

class NullEngineHost : public EngineHost {
public:
    void RedrawDisplay() override {}
    bool PrinterOn() const override { return false; }
    bool PrintSwitch(int) const override { return false; }
    void StartPaperFeed() override {}
    void StopPaperFeed() override {}
    bool PaperFeeding() const override { return false; }
    void StartChgModeTimer() override {}
    void StopChgModeTimer() override {}
    void Sleep(int) override {}
    void ProcessMessages() override {}
    void ShowInternalError(const std::string&) override {}
};

} // namespace orrindale
