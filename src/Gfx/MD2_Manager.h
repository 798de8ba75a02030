// The owner of every MD2 model and instance. A model file is loaded once, on the first
// request for its name, and every later request for the same name gets a new instance of
// the same model. Instances are updated and drawn model by model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Md2Instance;
class Md2Model;
#include "Common/ParameterFile.h"
class ShaderProgram;
struct ModelView;

struct ModelRef {
    std::string name; // the file name exactly as requested
    Md2Model* pModel = nullptr;
};

class Md2Manager {
public:
    // A new instance of the model in `filename`, loading it with `fps` key frames per second
    // if no model of exactly that name is loaded yet; null when the file does not load.
    static Md2Instance* CreateInstance(const char* filename, uint8_t fps);
    static void UpdateAll(float dt);
    // `shader` may be null: fixed-function drawing. `view` culls the instances.
    static void DrawAll(ShaderProgram* shader, const ModelView& view);
    static void FreeAll();

    static std::vector<ModelRef*> m_Models;
    // Instances of model k are posed every m_UpdateGroups-th frame, spread by k, with the
    // summed frame times of those frames. 1 poses everything every frame.
    static uint8_t m_UpdateGroups;
    static float m_FrameTimes[8];
    static uint8_t m_RingPos;
};

// An instance of `md2_file` at `fps` key frames a second; a model that does not load ends
// the program (status 1).
Md2Instance* require_model_instance(const char* md2_file, uint8_t fps);

// The values the instance files beside the models may take (scale, turns, shift, speed).
extern const KeyRanges instance_key_ranges;

// An instance file beside a model, every one of its values checked as it is opened: a value
// refused later, half-way through building an object from it, would leave that object half
// made. `more` are the ranges of further keys the caller reads from the same file.
class InstanceFile : public ParameterFile {
public:
    explicit InstanceFile(const char* path);
    InstanceFile(const char* path, KeyRanges more);

private:
    void read_every_key() const;
};

// A lit instance of `md2_file` with `texture`, placed by the keys of `params`. A model that
// does not load ends the program (status 1); a missing key throws BadValueException.
Md2Instance* create_object_instance(const char* md2_file, unsigned int texture, const ParameterFile& params);
