// The AI manager as the scene's trigger receiver (its reports are played out in ScoringTest).

#include "PhysicsTestKit.h"

#include "Ai/AiManager.h"

#include <gtest/gtest.h>

TEST(AiManagerTrigger, ReportAboutANonTriggerShapeIsAnAssertion)
{
    EXPECT_EXIT(
        {
            NxPhysicsSDK* sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION);
            NxScene* scene = sdk->createScene(NxSceneDesc());
            NxActor* a = make_box(*scene, NxVec3(0, 0, 0), NxVec3(1));
            AiManager manager;
            manager.onTrigger(*a->getShapes()[0], *a->getShapes()[0], NX_TRIGGER_ON_ENTER);
        },
        ::testing::ExitedWithCode(3), "triggerShape.getFlag\\(NX_TRIGGER_ENABLE\\)");
}
