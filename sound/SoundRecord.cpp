#include "sound/SoundRecord.h"

#include "core/io/Archive.h"
#include "sound/Sound.h"

using Misc::Serialization::IArchive;

CSoundRecord::CSoundRecord(const std::string& soundName, CSound& sound)
    : name(soundName), fileName(sound.GetFilename()), streaming(sound.IsStreaming()),
      looping(sound.IsLooping()), volume(sound.GetVolume()), pitch(sound.GetPitch()),
      rolloff(sound.GetRolloffFactor()), minDistance(sound.GetReferenceDistance()),
      maxDistance(sound.GetMaxDistance())
{
    position = sound.GetPosition();
    direction = sound.GetDirection();
    sound.GetDirectionConeAngles(cone.inner, cone.outer);
    cone.outerVolume = sound.GetDirectionConeVolumeOuter();
    velocity = sound.GetVelocity();
}

namespace Field = Misc::Serialization::StoredField;

const Misc::Serialization::SStoredField<CSoundRecord> CSoundRecord::kStoredFields[] = {
    Field::Text<&CSoundRecord::name>("-Id"),
    Field::WideText<&CSoundRecord::fileName>("-Filename"),
    Field::Bool<&CSoundRecord::streaming>("-Streaming"),
    Field::Bool<&CSoundRecord::looping>("-Looping"),
    Field::Float<&CSoundRecord::volume>("-Volume"),
    Field::Float<&CSoundRecord::pitch>("-Pitch"),
    Field::Float<&CSoundRecord::rolloff>("-RollOff"),
    Field::Float<&CSoundRecord::minDistance>("-MinDistance"),
    Field::Float<&CSoundRecord::maxDistance>("-MaxDistance"),
    Field::Object<&CSoundRecord::position>("-Position"),
    Field::Object<&CSoundRecord::direction>("-Direction"),
    Field::Object<&CSoundRecord::cone>("-DirectionConeAngles"),
    Field::Object<&CSoundRecord::velocity>("-Velocity"),
};

bool CSoundRecord::Write(IArchive& archive) const
{
    archive.WriteString("Sound{");
    archive.EndLine(+1);
    // The rows only read the record they write.
    const bool written =
        Misc::Serialization::WriteFields(archive, const_cast<CSoundRecord&>(*this), kStoredFields);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return written;
}

bool CSoundRecord::Read(IArchive& archive)
{
    archive.ExpectToken("Sound{");
    // A value that does not read ends the record's values: the rest keep
    // theirs.
    const bool read = Misc::Serialization::ReadFieldsWhileReadable(archive, *this, kStoredFields);
    archive.ExpectToken("}");
    return read;
}

void CSoundRecord::ApplyTo(CSound& sound) const
{
    sound.SetLooping(looping);
    sound.SetVolume(volume);
    sound.SetPitch(pitch);
    sound.SetRolloffFactor(rolloff);
    sound.SetReferenceDistance(minDistance);
    sound.SetMaxDistance(maxDistance);
    sound.SetPosition(position);
    sound.SetDirection(direction);
    sound.SetDirectionConeAngles(cone.inner, cone.outer);
    sound.SetDirectionConeVolumeOuter(cone.outerVolume);
    sound.SetVelocity(velocity);
}
