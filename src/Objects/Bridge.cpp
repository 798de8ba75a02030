#include "Objects/Bridge.h"

#include "Ai/AiManager.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/SDLGL.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/Texture.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// Every plank is a jointed body of its own: hundreds of them would slow each physics step
// to a crawl and take start-up's memory with them.
const KeyRange kBridgeKeys[] = {
    {"bridge_elements", 0, 200, "planks of one bridge, each a jointed body"},
    {"dyn_boxSize_X", 0.01, 100, nullptr},
    {"dyn_boxSize_Y", 0.01, 100, nullptr},
    {"dyn_boxSize_Z", 0.01, 100, nullptr},
    {"sta_boxSize_X", 0.01, 100, nullptr},
    {"sta_boxSize_Y", 0.01, 100, nullptr},
    {"sta_boxSize_Z", 0.01, 100, nullptr},
    {"bridge_pos_X", -1e5, 1e5, nullptr},
    {"bridge_pos_Y", -1e5, 1e5, nullptr},
    {"bridge_pos_Z", -1e5, 1e5, nullptr},
    {"step_size", 0.01, 100, "the gap from one plank to the next"},
};

// The hinge turns about the horizontal axis across the bridge (z, as the bridge runs along
// x), which is what lets the chain sag; the joint's own axis stands upright.
const NxVec3 kJointAxis(0, 1, 0);
const NxVec3 kHingeAxis(0, 0, 1);

NxD6JointDesc hinge_desc(NxActor* first, NxActor* second, const NxVec3& world_anchor)
{
    NxD6JointDesc d;
    d.actor[0] = first;
    d.actor[1] = second;
    d.jointFlags = NX_JF_COLLISION_ENABLED | NX_JF_VISUALIZATION;
    d.maxForce = NX_MAX_REAL;
    d.maxTorque = NX_MAX_REAL;
    d.xMotion = d.yMotion = d.zMotion = NX_D6JOINT_MOTION_LOCKED;
    d.swing1Motion = NX_D6JOINT_MOTION_FREE;
    d.swing2Motion = d.twistMotion = NX_D6JOINT_MOTION_LOCKED;
    d.linearLimit.value = 0.0005f;
    d.projectionMode = NX_JPM_NONE;
    // Both bodies see the same world point and the same axes, each in its own frame, so the
    // joint is at rest the moment it is made, whichever way an end box is turned.
    d.setGlobalAnchor(world_anchor);
    for (int i = 0; i < 2; ++i) {
        const NxMat33 r = d.actor[i]->getGlobalOrientation();
        r.multiplyByTranspose(kJointAxis, d.localAxis[i]);
        r.multiplyByTranspose(kHingeAxis, d.localNormal[i]);
    }
    return d;
}

} // namespace

NxMat33 bridge_end_rotation()
{
    const float s = std::sin(45.0f * 3.14159265f / 180.0f), c = std::cos(45.0f * 3.14159265f / 180.0f);
    NxQuat q;
    q.setWXYZ(c, 0, -s, 0);
    return NxMat33(q);
}

BridgeElement::BridgeElement(NxScene* scene_in, const NxVec3& position_in, const NxVec3* size_in, float density_in)
    : scene(scene_in), position(position_in), size(size_in), density(density_in)
{
    type = OBJECT_BRIDGE_ELEMENT;
    std::fprintf(stderr, "density ------------------------------------- %g\n", density);
    create_actor();
}

void BridgeElement::create_actor()
{
    if (!scene) {
        std::fprintf(stderr, "CreateBox _ Scene is NULL !!!!!!!!!!!!!!!!!!!!!!!\n");
        return;
    }
    NxBoxShapeDesc box;
    box.dimensions = *size;
    NxBodyDesc body;
    body.angularDamping = 0.5f;
    body.wakeUpCounter = 0.4f;
    body.solverIterationCount = 4;
    NxActorDesc desc;
    desc.shapes.pushBack(&box);
    desc.body = &body;
    desc.density = density;
    desc.globalPose.t = position;
    desc.userData = static_cast<MovingObject*>(this);
    actor = scene->createActor(desc);
}

Bridge::Bridge(const char* path, NxScene* scene_in, AiManager& ai, const BridgeModelMaker& make_model)
    : scene(scene_in)
{
    ParameterFile p(path, {kBridgeKeys});
    element_count = p.getInt("bridge_elements");
    plank_size.set(p.getFloat("dyn_boxSize_X"), p.getFloat("dyn_boxSize_Y"), p.getFloat("dyn_boxSize_Z"));
    end_size.set(p.getFloat("sta_boxSize_X"), p.getFloat("sta_boxSize_Y"), p.getFloat("sta_boxSize_Z"));
    NxVec3 at(p.getFloat("bridge_pos_X"), p.getFloat("bridge_pos_Y"), p.getFloat("bridge_pos_Z"));
    const float step_size = p.getFloat("step_size");

    for (int i = 0; i <= element_count; ++i) {
        at.x += step_size;
        make_element(i, at, ai, make_model);
    }
    join_elements(step_size);
}

void Bridge::make_element(int i, const NxVec3& position, AiManager& ai, const BridgeModelMaker& make_model)
{
    const bool end_box = i == 0 || i == element_count;
    BridgeElement* e = new BridgeElement(scene, position, end_box ? &end_size : &plank_size, 1.0f);
    elements.push_back(e);
    if (end_box && e->actor) {
        e->actor->setGlobalOrientation(e->actor->getGlobalOrientation() * bridge_end_rotation());
        e->actor->raiseBodyFlag(NX_BF_KINEMATIC);
    }
    if (make_model) {
        if (Md2Instance* model = make_model(end_box)) {
            model->m_Visible = true;
            e->attach(model);
        }
    }
    e->sync();
    ai.register_object(e);
}

void Bridge::join_elements(float step_size)
{
    // A bridge of one element has no neighbours to join.
    const int n = element_count;
    if (n < 1) return;
    // Where element i meets element i - 1: halfway between them, at the planks' top face, on
    // the bridge's centre line (a hinge off the centre line twists the chain under its own
    // weight).
    auto seam = [&](int i) {
        NxVec3 p = elements[i]->position;
        return NxVec3(p.x - 0.5f * step_size, p.y + plank_size.y, p.z);
    };
    for (int i = 0; i <= n; ++i) {
        if (i == 0) {
            std::printf("j=0%d-%d\n", 1, 0);
            join(1, 0, seam(1));
        } else if (i <= n - 2) {
            std::printf("sonst%d-%d\n", i + 1, i);
            join(i + 1, i, seam(i + 1));
        } else if (i == n) {
            std::printf("j=7%d-%d\n", n, n - 1);
            join(n, n - 1, seam(n));
        }
    }
}

void Bridge::join(int first, int second, const NxVec3& world_anchor)
{
    NxActor* a = elements[first]->actor;
    NxActor* b = elements[second]->actor;
    if (!scene || !a || !b) return;
    const NxD6JointDesc d = hinge_desc(a, b, world_anchor);
    BridgeJoint j;
    j.joint = scene->createJoint(d);
    j.actor[0] = a;
    j.actor[1] = b;
    j.local_anchor[0] = d.localAnchor[0];
    j.local_anchor[1] = d.localAnchor[1];
    joints.push_back(j);
}

namespace {

// The bridges live as long as the program; their elements belong to the AI manager.
std::vector<std::unique_ptr<Bridge>> level_bridges;

} // namespace

void build_bridges(AiManager& ai)
{
    std::fprintf(stderr, "Bridge\n");
    InstanceFile params(".\\media\\objects\\bridge\\bridge.p");
    const unsigned texture = sdlgl && sdlgl->textures.bridge_tex ? sdlgl->textures.bridge_tex->id : 0;
    const BridgeModelMaker plank_model = [&](bool end_box) {
        Md2Instance* m = create_object_instance(".\\media\\objects\\bridge\\bridge.md2", texture, params);
        // The end posts show the plank standing on its edge.
        if (end_box) m->m_StdRot[0] -= 90.0f;
        return m;
    };
    const char* const files[] = {"config\\objects\\bridge.p", "config\\objects\\bridge3.p",
                                 "config\\objects\\bridge4.p", "config\\objects\\bridge5.p",
                                 "config\\objects\\bridge6.p"};
    for (const char* f : files) level_bridges.push_back(std::make_unique<Bridge>(f, ai.scene, ai, plank_model));
}
