#pragma once
// Lets the workflow hold a step object of another library (Corvane's tool
// steps, the burner) as an IProductionStep: progress and cancel are passed on
// to the object, which the adapter keeps alive.

#include <memory>
#include <utility>

#include "production/IProductionStep.h"

template <typename Step>
class ProductionStepAdapter : public IProductionStep {
public:
    explicit ProductionStepAdapter(std::shared_ptr<Step> step) : m_step(std::move(step)) {}

    double progress() const override { return m_step ? m_step->progress() : 0.0; }
    void cancel() override
    {
        if (m_step) {
            m_step->cancel();
        }
    }
    const std::shared_ptr<Step>& step() const { return m_step; }

private:
    std::shared_ptr<Step> m_step;
};
