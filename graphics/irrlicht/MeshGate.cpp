#include "graphics/irrlicht/MeshGate.h"

#include "graphics/irrlicht/ExtensionMappers.h"

#include <irrlicht.h>

namespace Graphics
{

using namespace irr;

bool CMeshGate::IsSafeLoader(scene::IMeshLoader* loader)
{
    while (auto* mapper = dynamic_cast<CMeshMapper*>(loader))
        loader = mapper->GetTarget();
    // Irrlicht's STL loader claims ".stl" and nothing else; every other
    // loader of it failed a seeded run of damaged files.
    return loader != nullptr && loader->isALoadableFileExtension("gate.stl") &&
           !loader->isALoadableFileExtension("gate.obj");
}

bool CMeshGate::Admits(scene::ISceneManager* scene, const io::path& name, std::string& reason)
{
    for (u32 index = 0; index < scene->getMeshLoaderCount(); ++index)
    {
        scene::IMeshLoader* loader = scene->getMeshLoader(index);
        if (loader != nullptr && loader->isALoadableFileExtension(name) && !IsSafeLoader(loader))
        {
            reason = "the reader of this format does not survive damaged files (only STL meshes are read)";
            return false;
        }
    }
    return true;
}

} // namespace Graphics
