// The floor of a start-up: a program that opens Irrlicht's NULL device,
// runs it once and closes it.
#include <irrlicht.h>

int main()
{
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    if (device == nullptr)
        return 1;
    device->run();
    device->drop();
    return 0;
}
