#include "Gfx/GridIndices.h"
#include "GlFixture.h"

namespace {

using FboTest = ResourceGlTest;
const GLenum kComplete = GL_FRAMEBUFFER_COMPLETE_EXT;

GLuint attached(GLenum attachment)
{
    GLint name = 0;
    glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, attachment,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT, &name);
    return static_cast<GLuint>(name);
}

std::vector<uint32_t> buffer_contents(GLuint buffer, size_t count)
{
    std::vector<uint32_t> out(count);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, buffer);
    glGetBufferSubDataARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0, GLsizeiptrARB(count * sizeof(uint32_t)), out.data());
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    return out;
}

// A colour target of the scene's kind; what the creation prints goes to `said`.
GLenum create_colour(FBO& fbo, int w, int h, GLenum attachment, Printed& said)
{
    GLenum status = 0;
    said = printed([&] {
        status = fbo.create_color(GL_TEXTURE_2D, GL_RGBA, w, h, GL_RGBA, GL_UNSIGNED_BYTE, GL_LINEAR,
                                  GL_CLAMP_TO_EDGE, attachment);
    });
    return status;
}

// The first call makes the framebuffer, its depth buffer and a texture; a second call on the same
// target adds exactly one texture on the next attachment. That such a target takes drawing, and
// the float grid below texels beyond 0..1, the landscape passes judge on the game's own targets.
TEST_F(FboTest, ColourTargetHasADepthBufferAndASecondCallAddsOneTexture)
{
    FBO fbo;
    Printed said;
    ASSERT_EQ(create_colour(fbo, 64, 32, GL_COLOR_ATTACHMENT0_EXT, said), kComplete);
    EXPECT_EQ(attached(GL_COLOR_ATTACHMENT0_EXT), fbo.id);
    EXPECT_EQ(attached(GL_DEPTH_ATTACHMENT_EXT), fbo.depth_renderbuffer);

    const std::vector<GLuint> kept = {fbo.framebuffer, fbo.id, fbo.depth_renderbuffer};
    EXPECT_EQ(create_colour(fbo, 64, 32, GL_COLOR_ATTACHMENT1_EXT, said), kComplete);
    EXPECT_EQ((std::vector<GLuint>{fbo.framebuffer, fbo.id, fbo.depth_renderbuffer}), kept)
        << "the framebuffer, first texture and depth buffer stay";
    EXPECT_EQ(attached(GL_COLOR_ATTACHMENT1_EXT), fbo.second_id);
    int live = 0;
    for (GLuint n = 1; n < 64; ++n) live += glIsTexture(n) ? 1 : 0;
    EXPECT_EQ(live, 2);

    FBO empty; // a colour texture of zero size cannot be complete
    EXPECT_NE(create_colour(empty, 0, 0, GL_COLOR_ATTACHMENT0_EXT, said), kComplete);
    EXPECT_NE(said.err.find(" >>> FBO incomplete - "), std::string::npos) << said.err;
    empty.unbind_framebuffer();
}

// The grid target holds both index buffers; the shadow target compares depths until unbound.
TEST_F(FboTest, FloatGridAndDepthTargets)
{
    FBO grid, depth;
    GLenum grid_status = 0, depth_status = 0;
    printed([&] {
        grid_status = grid.create_grid(GL_TEXTURE_RECTANGLE_ARB, float_rgba32_format(), 16, 8, GL_RGBA, GL_FLOAT,
                                       GL_NEAREST, GL_CLAMP_TO_EDGE);
        depth_status = depth.create_depth(GL_TEXTURE_2D, GL_DEPTH_COMPONENT, 128, 128, GL_DEPTH_COMPONENT,
                                          GL_UNSIGNED_INT, GL_LINEAR, GL_CLAMP_TO_BORDER, GL_DEPTH_ATTACHMENT_EXT);
    });
    ASSERT_EQ(grid_status, kComplete);
    ASSERT_EQ(depth_status, kComplete);
    EXPECT_EQ(attached(GL_DEPTH_ATTACHMENT_EXT), depth.id);
    glBindTexture(GL_TEXTURE_2D, depth.id);
    EXPECT_EQ(tex_param(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB), GL_COMPARE_R_TO_TEXTURE_ARB);
    EXPECT_EQ(tex_param(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB), GL_LEQUAL);
    depth.unbind_shadow(); // the map is read plainly again by whoever binds it next
    glBindTexture(GL_TEXTURE_2D, depth.id);
    EXPECT_EQ(tex_param(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB), GL_NONE);

    GridIndexList full = full_grid_indices(16, 8), half = half_grid_indices(16, 8);
    EXPECT_EQ(grid.index_count, 2 * 7 * 17 - 2);
    EXPECT_EQ(buffer_contents(grid.index_buffer, full.indices.size()), full.indices);
    EXPECT_EQ(buffer_contents(grid.index_buffer_lowres, half.indices.size()), half.indices);
}

} // namespace
