// The registry of all game objects and the receiver of the physics scene's trigger reports.
// Created by the physics set-up, which hands it to the scene and owns it.
#pragma once

#include "Physics/NxPhysics.h"

class AiManager : public NxUserTriggerReport {
public:
    AiManager() = default;
    ~AiManager() override = default;
    AiManager(const AiManager&) = delete;
    AiManager& operator=(const AiManager&) = delete;

    // Called by the scene during fetchResults: `trigger_shape` (a sensor) and
    // `other_shape` started or stopped overlapping, as `status` says.
    void onTrigger(NxShape& trigger_shape, NxShape& other_shape, NxTriggerFlag status) override;

    NxScene* scene = nullptr; // set once the scene exists
};
