// A generated model read and converted by the game's own loader (without GL), laid out for the
// tests: key frames in the game's axes (file z up becomes y up), triangles, texture
// coordinates, the runs of the GL command list and the cycles found.
#pragma once

#include "Gfx/Md2File.h"
#include "Gfx/Md2ModelData.h"

#include <cstdint>
#include <string>
#include <vector>

struct Md2Decoded {
    struct V3 { float x, y, z; };
    struct Tri { int v[3], st[3]; };
    struct Run { bool fan; std::vector<Md2GlVertex> records; };

    Md2File file;
    Md2ModelData data;
    int skin_w = 0, skin_h = 0;
    std::vector<std::string> frame_names;
    std::vector<std::vector<uint8_t>> frame_bytes; // x, y, z per vertex as stored (z up)
    std::vector<std::vector<V3>> frames;           // decoded, game axes
    std::vector<std::pair<int, int>> texcoords;    // in texels
    std::vector<Tri> tris;
    std::vector<Run> runs; // empty in the triangle form

    // Empty on success, else why the game would not load the file.
    std::string load(const std::string& path)
    {
        if (!file.Read(path.c_str())) return "the game's reader refuses " + path;
        if (!data.Convert(file)) return "the game's loader refuses " + path + " (beyond its limits)";
        const Md2Header& h = file.Header();
        if (size_t(h.ofs_end) != file.Bytes().size()) return "the end offset is not the file size";
        skin_w = h.skin_width;
        skin_h = h.skin_height;
        for (int i = 0; i < h.num_texcoords; ++i)
            texcoords.push_back({file.TexCoord(i).s, file.TexCoord(i).t});
        for (int i = 0; i < h.num_tris; ++i) {
            Md2Triangle t = file.Triangle(i);
            tris.push_back({{t.vertex[0], t.vertex[1], t.vertex[2]}, {t.texcoord[0], t.texcoord[1], t.texcoord[2]}});
        }
        for (int f = 0; f < h.num_frames; ++f) {
            Md2FrameView v = file.Frame(f);
            frame_names.push_back(v.name);
            std::vector<uint8_t>& bytes = frame_bytes.emplace_back();
            std::vector<V3>& pos = frames.emplace_back();
            for (int i = 0; i < h.num_vertices; ++i) {
                const uint8_t* p = v.vertices + 4 * i;
                bytes.insert(bytes.end(), p, p + 3);
                pos.push_back({p[0] * v.scale[0] + v.translate[0], p[2] * v.scale[2] + v.translate[2],
                               p[1] * v.scale[1] + v.translate[1]});
            }
        }
        if (file.CommandForm())
            for (size_t at = file.GlCommandsBegin(); at < file.GlCommandsEnd();) {
                const int32_t count = file.GlWord(at);
                at += 4;
                if (count == 0) break;
                Run r{count < 0, {}};
                for (int i = 0; i < (count < 0 ? -count : count); ++i, at += 12)
                    r.records.push_back(file.GlVertex(at));
                runs.push_back(std::move(r));
            }
        return "";
    }

    // The cycles the loader built: name and frame count.
    std::vector<std::pair<std::string, int>> cycles() const
    {
        std::vector<std::pair<std::string, int>> out;
        for (const Md2AnimCycle& c : data.m_AnimCycles)
            out.push_back({c.name, c.frame_count});
        return out;
    }
};
