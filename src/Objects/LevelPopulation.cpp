#include "Objects/LevelPopulation.h"

#include "Ai/AiManager.h"
#include "Ai/EskelShip.h"
#include "Ai/Opponent.h"
#include "Common/Difficulty.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/SDLGL.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/Texture.h"
#include "Objects/Bridge.h"
#include "Objects/PlayerImpl.h"
#include "Objects/Scenery.h"
#include "Objects/StaticObject.h"
#include "Physics/TerrainPhysics.h"

#include <cstdio>


PlayerImpl* game_player = nullptr;

namespace {

unsigned texture_id(const Texture* t)
{
    return t ? t->id : 0;
}

// A model of the level made from its instance file, turned to `heading` degrees about y
// (the file's other turns are not used) and animated at 4 key frames per second.
Md2Instance* level_instance(const char* md2, const char* instance_file, unsigned texture, float extra_heading)
{
    InstanceFile p(instance_file);
    Md2Instance* m = create_object_instance(md2, texture, p);
    m->m_StdRot[0] = 0;
    m->m_StdRot[1] = p.getFloat("standard_rot_y") + extra_heading;
    m->m_StdRot[2] = 0;
    m->m_AnimSpeed = 4.0f;
    return m;
}

// A duck swimming on the lake, turned by `extra_heading` degrees from the file's heading:
// a model and a static scenery body.
void spawn_duck(const float position[3], float extra_heading, const char* spawned_message)
{
    Md2Instance* duck = level_instance(".\\media\\objects\\duck\\duck.md2", ".\\media\\objects\\duck\\duck.p",
                                       texture_id(sdlgl->textures.duck_tex), extra_heading);
    std::fprintf(stderr, "B4 duck\n");
    StaticObject* o = new StaticObject(".\\config\\objects\\defaultDuckStatic.p", terrain_physics().scene, position,
                                       duck, NxVec3(1, 0, 0), NxVec3(0, 1, 0), NxVec3(0, 0, 1));
    std::fprintf(stderr, "duck made\n");
    o->sync();
    terrain_physics().ai_manager->register_object(o);
    std::fprintf(stderr, "%s\n", spawned_message);
}

void spawn_ship()
{
    std::fprintf(stderr, "an eskel shall be born\n");
    // The ship hangs level: only its height is moved from the model's origin.
    Md2Instance* ship = level_instance(".\\media\\objects\\ship\\ship_anim.md2", ".\\media\\objects\\ship\\ship.p",
                                       texture_id(sdlgl->textures.ship_tex), 0.0f);
    ship->m_StdTransl[0] = ship->m_StdTransl[2] = 0;
    EskelShip* eskel = new EskelShip(".\\config\\objects\\defaultEskel.p", terrain_physics().scene,
                                     NxVec3(100.0f, 55.0f, 100.0f), ship);
    eskel->sample_height = terrain_physics().scale.danger[1];
    eskel->sync();
    terrain_physics().ai_manager->register_object(eskel);
    std::fprintf(stderr, "an eskel has been born\n");
}

namespace {

// The other levels' opponent files are read through now as well, by opponents made without
// a body: a value there that cannot work is refused at start-up, not in the middle of a
// session when the player picks that level for the next game.
void check_other_levels()
{
    for (Difficulty d : {Difficulty::Easy, Difficulty::Normal, Difficulty::Hard})
        if (d != difficulty_choice.in_use) Opponent(opponent_file(d), nullptr, NxVec3(0, 0, 0), nullptr);
}

// A hover's two rotors and its teddy pilot, skinned with `pilot_texture`.
void attach_rotors_and_pilot(MovingObject& hover, const InstanceFile& rotor, unsigned pilot_texture,
                             const InstanceFile& pilot)
{
    const unsigned rotor_texture = texture_id(sdlgl->textures.hover_tex);
    hover.attach(create_object_instance(".\\media\\objects\\hover\\rotor1.md2", rotor_texture, rotor));
    hover.attach(create_object_instance(".\\media\\objects\\hover\\rotor2.md2", rotor_texture, rotor));
    hover.attach(create_object_instance(".\\media\\objects\\teddy\\teddy.md2", pilot_texture, pilot));
}

} // namespace

void spawn_opponents()
{
    check_other_levels();
    std::printf("come get some evils\n");
    InstanceFile hover(".\\media\\objects\\hover\\hover.p");
    InstanceFile rotor(".\\media\\objects\\hover\\rotor.p");
    InstanceFile evil(".\\media\\objects\\evil\\evil.p");
    InstanceFile cam(".\\media\\objects\\cam\\cam.p");
    const SDLGL& gl = *sdlgl;
    for (int i = 0; i < 5; ++i) {
        std::fprintf(stderr, "making teddy %d\n", i);
        Md2Instance* hull =
            create_object_instance(".\\media\\objects\\hover\\hover.md2", texture_id(gl.textures.hover_tex), hover);
        std::fprintf(stderr, "teddy %d: B4 make ho\n", i);
        Opponent* o = new Opponent(opponent_file(difficulty_choice.in_use), terrain_physics().scene,
                                   NxVec3(20.0f * i, 35.0f, 120.0f), hull);
        std::fprintf(stderr, "teddy %d: made ho\n", i);
        attach_rotors_and_pilot(*o, rotor, texture_id(gl.textures.evil_tex), evil);
        o->attach(create_object_instance(".\\media\\objects\\cam\\cam.md2", texture_id(gl.textures.cam_tex), cam));
        o->sync();
        terrain_physics().ai_manager->register_object(o);
    }
    std::fprintf(stderr, "ho ho ho!\n");
}

void spawn_player()
{
    std::fprintf(stderr, "time for handsome teddy!\n");
    InstanceFile hover(".\\media\\objects\\hover\\hover_player.p");
    InstanceFile teddy(".\\media\\objects\\teddy\\teddy_player.p");
    InstanceFile rotor(".\\media\\objects\\hover\\rotor_player.p");
    const SDLGL& gl = *sdlgl;
    game_player = new PlayerImpl(terrain_physics().scene, NxVec3(50.0f, 35.0f, 50.0f), false, false, false);
    game_player->attach(
        create_object_instance(".\\media\\objects\\hover\\hover.md2", texture_id(gl.textures.hover_tex), hover));
    attach_rotors_and_pilot(*game_player, rotor, texture_id(gl.textures.teddy_tex), teddy);
    terrain_physics().ai_manager->register_object(game_player);
    std::fprintf(stderr, "handsome teddy entered the scene!\n");
}

} // namespace

int populate_level()
{
    std::fprintf(stderr, "duck\n");
    const float first_duck[3] = {102.0f, 20.0f, 294.5f};
    spawn_duck(first_duck, 0.0f, "duck spawned");
    std::fprintf(stderr, "duck 2\n");
    const float second_duck[3] = {136.0f, 20.5f, 294.5f};
    spawn_duck(second_duck, 180.0f, "duck 2 spawned");

    AiManager& ai = *terrain_physics().ai_manager;
    plant_trees(ai);
    plant_mushrooms(ai);
    plant_lazyboys(ai);

    spawn_ship();
    spawn_opponents();
    spawn_player();
    build_bridges(ai);
    // Last, when the opponents' lists exist to make room in.
    if (ai.ship) ai.ship->prepare_crystals();
    return 0;
}
