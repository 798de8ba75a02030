// The aerial haze the ground and the models share, so that a model fades into the distance
// exactly as the ground it stands on. Included after the program's #version.

const float kHaze = 0.00004;

// Aerial haze: thick near the ground, thinning with height, so a view down from high
// above stays clear while the far ground at eye level melts into the sky colour.
float haze(float dist, float eye_y, float point_y)
{
    float mean_height = max(0.5 * (eye_y + point_y), 0.0);
    return 1.0 - exp(-dist * kHaze * exp(-mean_height / 4500.0));
}
