#pragma once
// A production step object: anything the workflow runs one at a time and the
// production window watches. progress answers 0 to 1 (a step may pass 1 a
// little; its reader caps it) and cancel asks the step to stop. Both are
// called from the main thread while the step runs on the production thread.

class IProductionStep {
public:
    virtual ~IProductionStep() = default;
    virtual double progress() const = 0;
    virtual void cancel() = 0;
};
