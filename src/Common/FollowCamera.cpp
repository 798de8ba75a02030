#include "Common/FollowCamera.h"

#include "Common/Camera.h"
#include "Terrain/HeightMap.h"

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
