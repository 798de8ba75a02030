#include "Common/FollowCamera.h"

#include "Common/Camera.h"
#include "Terrain/GroundHeight.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <algorithm>
#include <cmath>

Vec3d follow_position(const Vec3d& player, const Vec3d& behind, const GroundLookup& ground)
{
    Vec3d c = player + Vec3d(0, 250, 0) + behind * 600.0;

    // Stay 150 above the ground under the camera, where the map has ground.
    if (ground.map && ground.map->phys_map) {
        long col = static_cast<long>((c.x - ground.translate.x) / ground.scale.x);
        long row = static_cast<long>((c.z - ground.translate.z) / ground.scale.z);
        if (ground.map->phys_inside(col, row)) {
            double h = ground.map->phys_at(col, row) * static_cast<double>(ground.sample_height);
            double clearance = h * ground.scale.y + ground.translate.y + 150.0;
            if (c.y < clearance) c.y = clearance;
        }
    }

    // Never below the hover's own height plus a margin: back off first, then lift.
    const double m = player.y + 162.49999403953552;
    if (c.y < m) {
        c += behind * (2.0 * (m - c.y));
        if (c.y < m) c.y = m;
    }
    return c;
}

double clearance_lift(const Vec3d& player, const Vec3d& camera, const GroundHeights& ground, const SightClearance& c)
{
    double need = ground.at(camera.x, camera.z) + c.ground_margin;
    const double dx = camera.x - player.x, dz = camera.z - player.z;
    const double reach = std::sqrt(dx * dx + dz * dz);
    // At the share t of the way from the hover to the camera the line of sight stands at
    // player.y + t * (camera.y - player.y): ground h there asks the camera for
    // player.y + (h + margin - player.y) / t.
    for (double d = reach; d > c.near_hover; d -= c.step) {
        const double t = d / reach;
        const double h = ground.at(player.x + dx * t, player.z + dz * t) + c.sight_margin;
        need = std::max(need, player.y + (h - player.y) / t);
    }
    return std::clamp(need - camera.y, 0.0, c.max_lift);
}

double EasedLift::follow(double target, double seconds)
{
    const double tau = target > lift ? rise_seconds : fall_seconds;
    if (seconds > 0 && tau > 0) lift += (target - lift) * (1.0 - std::exp(-seconds / tau));
    return lift;
}

Vec3d clear_follow_position(const Vec3d& player, const Vec3d& design, const GroundHeights& ground, EasedLift& eased,
                            double seconds, const SightClearance& c)
{
    Vec3d cam = design;
    cam.y += eased.follow(clearance_lift(player, design, ground, c), seconds);
    cam.y = std::max(cam.y, ground.at(cam.x, cam.z) + c.sight_margin);
    return cam;
}

void aim_follow_camera(Camera& cam, const Vec3d& position, const Vec3d& player)
{
    Vec3d d = position - player;
    Vec3d s = Vec3d(0, 1, 0).cross(d);
    Vec3d u = d.cross(s);
    if (d.length() == 0.0 || s.length() == 0.0) return;
    double ulen = u.length();
    if (ulen == 0.0) ulen = 0.001;
    cam.set_position(position.x, position.y, position.z);
    Vec3d sn = s.normalized(), dn = d.normalized();
    cam.set_str(sn.x, sn.y, sn.z);
    cam.set_up(u.x / ulen, u.y / ulen, u.z / ulen);
    cam.set_dir(dn.x, dn.y, dn.z);
    cam.pitch(7.0 * 3.141592653589793 / 180.0);
}

void follow_hover(Camera& cam, const Vec3d& player, const Vec3d& nose, const HeightMap& map,
                  const TerrainScale& terrain, EasedLift& eased, double seconds)
{
    GroundLookup ground;
    ground.map = &map;
    ground.scale = Vec3f(terrain.iface[0], terrain.iface[1], terrain.iface[2]);
    ground.translate = Vec3f(0, terrain.pgmland_offset, 0);
    ground.sample_height = terrain.danger[1];
    Vec3d behind(-nose.x, -nose.y, -nose.z);
    behind = behind.normalized();
    const Vec3d design = follow_position(player, behind, ground);
    aim_follow_camera(cam, clear_follow_position(player, design, ground_heights(map, terrain), eased, seconds),
                      player);
}
