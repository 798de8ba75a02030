// The AI manager as the scene's trigger receiver.

#include "PhysicsTestKit.h"

#include "Ai/AiManager.h"

#include <gtest/gtest.h>

TEST(AiManagerTrigger, ReceivesTheScenesReportsDuringFetch)
{
    NxPhysicsSDK* sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION);
    AiManager manager;
    NxSceneDesc desc;
    desc.userTriggerReport = &manager;
    NxScene* scene = sdk->createScene(desc);
    manager.scene = scene;
    EXPECT_EQ(scene->getUserTriggerReport(), &manager);
    // A sensor without an owner and a box without one: the report finds no objects and
    // changes nothing.
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), true, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    step(*scene, 3);
    EXPECT_EQ(scene->getNbActors(), 2u);
    sdk->release();
}

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
