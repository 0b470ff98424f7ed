#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/gl/VBO.h"
#include "demosys/gl/VBODynamic.h"
#include "demosys/scene/MRVMesh.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class VBOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glPointSize(1.0f);
        glColor4f(1, 1, 1, 1);
        GLTestContext::takeGLError();
    }

    void TearDown() override { EXPECT_EQ(GLTestContext::takeGLError(), 0u); }

    static std::vector<unsigned char> pixel(int x, int y) { return GLTestContext::readPixels(x, y, 1, 1); }

    static bool clientState(GLenum array) { return glIsEnabled(array) == GL_TRUE; }

    static GLint binding(GLenum which)
    {
        GLint name = -1;
        glGetIntegerv(which, &name);
        return name;
    }

    template <typename T>
    static std::vector<T> bufferContents(GLenum target, unsigned int buffer, size_t count)
    {
        std::vector<T> values(count);
        glBindBuffer(target, buffer);
        glGetBufferSubData(target, 0, static_cast<GLsizeiptr>(count * sizeof(T)), values.data());
        glBindBuffer(target, 0);
        return values;
    }

    // White pixels in the row y.
    static int litInRow(int y)
    {
        const auto row = GLTestContext::readPixels(0, y, GLTestContext::WIDTH, 1);
        int lit = 0;
        for (int x = 0; x < GLTestContext::WIDTH; ++x)
            lit += row[static_cast<size_t>(x) * 4] > 128 ? 1 : 0;
        return lit;
    }

    // NDC of the centre of pixel p.
    static float centre(int p) { return (p + 0.5f) / (GLTestContext::WIDTH / 2.0f) - 1.0f; }
};

// A full-viewport quad, each vertex x, y, z, normal, u, v.
const float FULL_QUAD[] = {
    -1, -1, 0, 0, 0, 1, 0, 0, //
    1,  -1, 0, 0, 0, 1, 1, 0, //
    1,  1,  0, 0, 0, 1, 1, 1, //
    -1, 1,  0, 0, 0, 1, 0, 1,
};
const unsigned int QUAD_TRIANGLES[] = { 0, 1, 2, 0, 2, 3 };

} // namespace

TEST_F(VBOTest, InterleavedLayoutAndUpload)
{
    VBO vbo;
    vbo.setVertexBuffer(4, 3, 3, 2, FULL_QUAD);
    vbo.setElementBuffer(2, QUAD_TRIANGLES);
    EXPECT_EQ(vbo.getStride(), 32);
    EXPECT_EQ(vbo.getNormalOffset(), 12);
    EXPECT_EQ(vbo.getTexCoordOffset(), 24);
    EXPECT_EQ(vbo.getVertexCount(), 4);
    EXPECT_EQ(vbo.getTriangleCount(), 2);
    ASSERT_NE(vbo.getVertexBuffer(), 0u);
    ASSERT_NE(vbo.getElementBuffer(), 0u);

    EXPECT_EQ(bufferContents<float>(GL_ARRAY_BUFFER, vbo.getVertexBuffer(), 32),
              std::vector<float>(FULL_QUAD, FULL_QUAD + 32));
    EXPECT_EQ(bufferContents<unsigned int>(GL_ELEMENT_ARRAY_BUFFER, vbo.getElementBuffer(), 6),
              std::vector<unsigned int>(QUAD_TRIANGLES, QUAD_TRIANGLES + 6));
}

TEST_F(VBOTest, DrawsTexturedTrianglesAndLeavesClientStateClean)
{
    // Bottom row red, green; top row blue, white: a wrong texture
    // coordinate offset would sample the wrong corners.
    const unsigned char pixels[] = { 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255 };
    Texture texture(2, 2, GL_TEXTURE_2D, GL_RGB, GL_RGB, pixels);
    texture.setInterpolation(GL_NEAREST);
    texture.setTextureWrap(GL_CLAMP_TO_EDGE);

    VBO vbo;
    vbo.setVertexBuffer(4, 3, 3, 2, FULL_QUAD);
    vbo.setElementBuffer(2, QUAD_TRIANGLES);
    texture.bind();
    vbo.draw();
    texture.release();

    EXPECT_EQ(pixel(4, 4), (std::vector<unsigned char>{ 255, 0, 0, 255 }));
    EXPECT_EQ(pixel(60, 4), (std::vector<unsigned char>{ 0, 255, 0, 255 }));
    EXPECT_EQ(pixel(4, 60), (std::vector<unsigned char>{ 0, 0, 255, 255 }));
    EXPECT_EQ(pixel(60, 60), (std::vector<unsigned char>{ 255, 255, 255, 255 }));

    EXPECT_FALSE(clientState(GL_VERTEX_ARRAY));
    EXPECT_FALSE(clientState(GL_NORMAL_ARRAY));
    EXPECT_FALSE(clientState(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(binding(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(binding(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(VBOTest, PositionsOnlyWithTwoComponents)
{
    // Only the left half: x from -1 to 0.
    const float positions[] = { -1, -1, 0, -1, 0, 1, -1, 1 };
    VBO vbo;
    vbo.setVertexBuffer(4, 2, 0, 0, positions);
    vbo.setElementBuffer(2, QUAD_TRIANGLES);
    EXPECT_EQ(vbo.getStride(), 8);
    vbo.draw();
    EXPECT_EQ(pixel(10, 32)[0], 255);
    EXPECT_EQ(pixel(50, 32)[0], 0);
}

TEST_F(VBOTest, EmptyBufferDrawsNothing)
{
    VBO vbo;
    vbo.draw();
    vbo.setVertexBuffer(0, 3, 0, 0, nullptr);
    vbo.setElementBuffer(0, nullptr);
    vbo.draw();
    EXPECT_EQ(pixel(32, 32)[0], 0);
}

TEST_F(VBOTest, DynamicCreationLinesAndStreams)
{
    StdoutCapture capture;
    VBODynamic vbo(8, 3, 0, 0, 0, 4, 2);
    EXPECT_EQ(capture.take(), "VBODynamic : Created buffer (8 vertices) in 96 bytes\n"
                              "VBODynamic : Created buffer (4 sided 2 polygons) in 32 bytes\n");
    EXPECT_NE(vbo.getVertexBuffer(), 0u);
    EXPECT_NE(vbo.getPolygonBuffer(), 0u);
    EXPECT_EQ(vbo.getColorBuffer(), 0u);
    EXPECT_EQ(vbo.getNormalBuffer(), 0u);
    EXPECT_EQ(vbo.getUVBuffer(), 0u);

    StdoutCapture all;
    VBODynamic full(2, 3, 4, 3, 2, 3, 1);
    EXPECT_EQ(all.take(), "VBODynamic : Created buffer (2 vertices) in 24 bytes\n"
                          "VBODynamic : Created buffer (2 colors) in 32 bytes\n"
                          "VBODynamic : Created buffer (2 normals) in 24 bytes\n"
                          "VBODynamic : Created buffer (2 texcoords) in 16 bytes\n"
                          "VBODynamic : Created buffer (3 sided 1 polygons) in 12 bytes\n");
    glBindBuffer(GL_ARRAY_BUFFER, full.getColorBuffer());
    GLint size = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(size, 32);
}

TEST_F(VBOTest, DynamicVertexWritesAndOverflow)
{
    std::unique_ptr<VBODynamic> vbo;
    {
        StdoutCapture quiet;
        vbo.reset(new VBODynamic(8, 3, 0, 0, 0, 4, 2));
    }
    vbo->openVertexBuffer(GL_WRITE_ONLY);
    float* values = vbo->getVertexPointer();
    ASSERT_NE(values, nullptr);
    for (int i = 0; i < 24; ++i)
        values[i] = -1.0f;

    StdoutCapture capture;
    vbo->setVertex(8, Vector<float, 3>(9, 9, 9));
    vbo->setVertex(0xffffffffu, Vector<float, 3>(9, 9, 9));
    vbo->setVertex(7, Vector<float, 3>(1, 2, 3));
    EXPECT_EQ(capture.take(), "VBODynamic::setVertex(8) overflow!\n"
                              "VBODynamic::setVertex(4294967295) overflow!\n");
    vbo->closeVertexBuffer();
    EXPECT_EQ(vbo->getVertexPointer(), nullptr);

    std::vector<float> expected(24, -1.0f);
    expected[21] = 1;
    expected[22] = 2;
    expected[23] = 3;
    EXPECT_EQ(bufferContents<float>(GL_ARRAY_BUFFER, vbo->getVertexBuffer(), 24), expected);

    // Closed: the writer refuses rather than writing through a dead mapping.
    StdoutCapture closed;
    vbo->setVertex(0, Vector<float, 3>(5, 5, 5));
    EXPECT_EQ(closed.take(), "VBODynamic::setVertex(0) stream not open!\n");
}

TEST_F(VBOTest, DynamicPolygonAndColourWriters)
{
    std::unique_ptr<VBODynamic> vbo;
    {
        StdoutCapture quiet;
        vbo.reset(new VBODynamic(4, 3, 3, 0, 0, 4, 2));
    }
    vbo->openPolygonBuffer(GL_WRITE_ONLY);
    ASSERT_NE(vbo->getPolygonPointer(), nullptr);
    StdoutCapture capture;
    vbo->setPolygon(0, Vector<int, 4>(0, 1, 2, 3));
    vbo->setPolygon(1, Vector<int, 4>(3, 2, 1, 0));
    vbo->setPolygon(2, Vector<int, 4>(7, 7, 7, 7));
    vbo->closePolygonBuffer();

    vbo->openColorBuffer(GL_WRITE_ONLY);
    vbo->setColor(3, Vector<float, 3>(0.25f, 0.5f, 0.75f));
    // Four values into a stream of three per vertex would pass its end at
    // the last vertex.
    vbo->setColor(3, Vector<float, 4>(1, 1, 1, 1));
    vbo->setColor(4, Vector<float, 3>(1, 1, 1));
    vbo->closeColorBuffer();
    EXPECT_EQ(capture.take(), "VBODynamic::setPolygon(2) overflow!\n"
                              "VBODynamic::setColor(3) overflow!\n"
                              "VBODynamic::setColor(4) overflow!\n");

    EXPECT_EQ(bufferContents<unsigned int>(GL_ELEMENT_ARRAY_BUFFER, vbo->getPolygonBuffer(), 8),
              (std::vector<unsigned int>{ 0, 1, 2, 3, 3, 2, 1, 0 }));
    const auto colours = bufferContents<float>(GL_ARRAY_BUFFER, vbo->getColorBuffer(), 12);
    EXPECT_EQ(std::vector<float>(colours.begin() + 9, colours.end()), (std::vector<float>{ 0.25f, 0.5f, 0.75f }));
}

TEST_F(VBOTest, QuadsWrittenIntoATriangleBufferStayInside)
{
    std::unique_ptr<VBODynamic> vbo;
    {
        StdoutCapture quiet;
        vbo.reset(new VBODynamic(4, 3, 0, 0, 0, 3, 2));
    }
    vbo->openPolygonBuffer(GL_WRITE_ONLY);
    StdoutCapture capture;
    vbo->setPolygon(1, Vector<int, 3>(1, 2, 3));
    // Quads at i * 4 in a buffer of 2 triangles: index 1 would write 4..7.
    vbo->setPolygon(1, Vector<int, 4>(0, 0, 0, 0));
    vbo->closePolygonBuffer();
    EXPECT_EQ(capture.take(), "VBODynamic::setPolygon(1) overflow!\n");
    EXPECT_EQ(bufferContents<unsigned int>(GL_ELEMENT_ARRAY_BUFFER, vbo->getPolygonBuffer(), 6)[3], 1u);
}

TEST_F(VBOTest, DrawArrayCountsVertices)
{
    std::unique_ptr<VBODynamic> vbo;
    {
        StdoutCapture quiet;
        vbo.reset(new VBODynamic(16, 3, 0, 0, 0, 0, 0));
    }
    vbo->openVertexBuffer(GL_WRITE_ONLY);
    for (unsigned int i = 0; i < 16; ++i)
        vbo->setVertex(i, Vector<float, 3>(centre(static_cast<int>(i) * 4 + 2), centre(32), 0));
    vbo->closeVertexBuffer();

    vbo->drawArray(GL_POINTS, 0, 10);
    EXPECT_EQ(litInRow(32), 10);
    glClear(GL_COLOR_BUFFER_BIT);
    vbo->drawArray(GL_POINTS, 0, 0);
    EXPECT_EQ(litInRow(32), 16);
    glClear(GL_COLOR_BUFFER_BIT);
    // A range past the end is cut at the last vertex.
    vbo->drawArray(GL_POINTS, 12, 100);
    EXPECT_EQ(litInRow(32), 4);
    EXPECT_FALSE(clientState(GL_VERTEX_ARRAY));
}

TEST_F(VBOTest, DrawPolygonsAllOrFirstCount)
{
    std::unique_ptr<VBODynamic> vbo;
    {
        StdoutCapture quiet;
        vbo.reset(new VBODynamic(8, 3, 0, 0, 0, 4, 2));
    }
    // Left quad x -1..0, right quad 0..1.
    const float x[] = { -1, 0, 0, -1, 0, 1, 1, 0 };
    const float y[] = { -1, -1, 1, 1, -1, -1, 1, 1 };
    vbo->openVertexBuffer(GL_WRITE_ONLY);
    for (unsigned int i = 0; i < 8; ++i)
        vbo->setVertex(i, Vector<float, 3>(x[i], y[i], 0));
    vbo->closeVertexBuffer();
    vbo->openPolygonBuffer(GL_WRITE_ONLY);
    vbo->setPolygon(0, Vector<int, 4>(0, 1, 2, 3));
    vbo->setPolygon(1, Vector<int, 4>(4, 5, 6, 7));
    vbo->closePolygonBuffer();

    vbo->drawPolygons(GL_QUADS, 0, 0);
    EXPECT_EQ(pixel(10, 32)[0], 255);
    EXPECT_EQ(pixel(54, 32)[0], 255);
    glClear(GL_COLOR_BUFFER_BIT);
    vbo->drawPolygons(GL_QUADS, 0, 1);
    EXPECT_EQ(pixel(10, 32)[0], 255);
    EXPECT_EQ(pixel(54, 32)[0], 0);
    glClear(GL_COLOR_BUFFER_BIT);
    vbo->drawPolygons(GL_QUADS, 0, 99);
    EXPECT_EQ(pixel(54, 32)[0], 255);
    EXPECT_EQ(binding(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(VBOTest, StreamsWithoutBuffersAreRefused)
{
    std::unique_ptr<VBODynamic> vbo;
    {
        StdoutCapture quiet;
        vbo.reset(new VBODynamic(4, 3, 0, 0, 0, 0, 0));
    }
    vbo->openColorBuffer(GL_WRITE_ONLY);
    vbo->openAttribBuffer(3, GL_WRITE_ONLY);
    vbo->openAttribBuffer(16, GL_WRITE_ONLY);
    EXPECT_EQ(vbo->getColorPointer(), nullptr);
    EXPECT_EQ(vbo->getAttribPointer(3), nullptr);
    EXPECT_EQ(vbo->getAttribPointer(-1), nullptr);
    StdoutCapture capture;
    vbo->setColor(0, Vector<float, 3>(1, 1, 1));
    EXPECT_EQ(capture.take(), "VBODynamic::setColor(0) overflow!\n");
    // No index buffer: nothing is drawn rather than indices read from 0.
    vbo->drawPolygons(GL_QUADS, 0, 0);
    EXPECT_EQ(pixel(32, 32)[0], 0);
}

TEST_F(VBOTest, FromMeshUploadsItsArrays)
{
    MRVMesh mesh(4, 2, 3);
    const float px[] = { -1, 1, 1, -1 };
    const float py[] = { -1, -1, 1, 1 };
    for (int i = 0; i < 4; ++i)
    {
        mesh.getVertexPointer()[i] = Vector<float, 3>(px[i], py[i], 0);
        mesh.setTexCoord(i, Vector<float, 2>(px[i] * 0.5f + 0.5f, py[i] * 0.5f + 0.5f));
    }
    mesh.setTriangle(0, 0, 1, 2);
    mesh.setTriangle(1, 0, 2, 3);
    mesh.calcFNormals(mesh.getVertexPointer());
    mesh.calcVNormals(mesh.getVertexNormalPointer());

    StdoutCapture capture;
    VBODynamic vbo(&mesh);
    EXPECT_EQ(capture.take(), "VBODynamic : Created buffer (4 vertices) in 48 bytes\n"
                              "VBODynamic : Created buffer (3 sided 2 polygons) in 24 bytes\n"
                              "VBODynamic : Created buffer (4 normals) in 48 bytes\n"
                              "VBODynamic : Created buffer (4 texcoords) in 32 bytes\n");
    EXPECT_EQ(vbo.getColorBuffer(), 0u);
    EXPECT_EQ(vbo.getVertexPointer(), mesh.getVertexPointer()->data());
    EXPECT_EQ(bufferContents<unsigned int>(GL_ELEMENT_ARRAY_BUFFER, vbo.getPolygonBuffer(), 6),
              (std::vector<unsigned int>{ 0, 1, 2, 0, 2, 3 }));
    const auto normals = bufferContents<float>(GL_ARRAY_BUFFER, vbo.getNormalBuffer(), 12);
    EXPECT_EQ(std::vector<float>(normals.begin(), normals.begin() + 3), (std::vector<float>{ 0, 0, 1 }));
    const auto uv = bufferContents<float>(GL_ARRAY_BUFFER, vbo.getUVBuffer(), 8);
    EXPECT_EQ(std::vector<float>(uv.begin() + 2, uv.begin() + 4), (std::vector<float>{ 1, 0 }));

    vbo.drawPolygons(GL_TRIANGLES, 0, 0);
    EXPECT_EQ(pixel(32, 32)[0], 255);
}

TEST_F(VBOTest, AttributeStreamFeedsTheShader)
{
    Shader shader;
    ASSERT_TRUE(shader.setVertexSource("attribute vec3 Offset;\n"
                                       "void main() { gl_Position = gl_Vertex + vec4(Offset, 0.0);\n"
                                       "  gl_FrontColor = vec4(1.0); }\n"));
    ASSERT_TRUE(shader.setFragmentSource("void main() { gl_FragColor = gl_Color; }\n"));
    ASSERT_TRUE(shader.link());

    std::unique_ptr<VBODynamic> vbo;
    {
        StdoutCapture quiet;
        vbo.reset(new VBODynamic(1, 3, 0, 0, 0, 0, 0));
    }
    vbo->openVertexBuffer(GL_WRITE_ONLY);
    vbo->setVertex(0, Vector<float, 3>(centre(16), centre(32), 0));
    vbo->closeVertexBuffer();

    const float offset[3] = { 1.0f, 0.0f, 0.0f };
    StdoutCapture capture;
    vbo->initVertexAttributeData(2, sizeof offset, offset);
    EXPECT_EQ(capture.take(), "VBODynamic : Created attribute buffer : 12 bytes\n");
    EXPECT_NE(vbo->getAttribBuffer(2), 0u);

    shader.use();
    vbo->bindVertexAttrib(2, &shader, "Offset");
    vbo->drawArray(GL_POINTS, 0, 0);
    // An unknown name binds nothing and raises no GL error.
    vbo->bindVertexAttrib(2, &shader, "NoSuchAttribute");
    shader.release();
    const GLint location = glGetAttribLocation(shader.getProgramHandle(), "Offset");
    glDisableVertexAttribArray(static_cast<GLuint>(location));

    EXPECT_EQ(pixel(16, 32)[0], 0);
    EXPECT_EQ(pixel(48, 32)[0], 255);
}
