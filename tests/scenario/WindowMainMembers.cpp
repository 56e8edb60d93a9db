#include "tests/scenario/WindowMainMembers.h"

#include "tests/scenario/Scenario.h"

namespace scenario {

const MemberPointer* FindMember(const std::string& name) {
  static const std::map<std::string, MemberPointer> members = {
      {"StatutRS485", &WindowMain::StatutRS485},
      {"TrameBufferSize", &WindowMain::TrameBufferSize},
      {"TrameBuffer", &WindowMain::TrameBuffer},
      {"U_in", &WindowMain::U_in},
      {"U_out", &WindowMain::U_out},
      {"I_out", &WindowMain::I_out},
      {"RPM1", &WindowMain::RPM1},
      {"TempCV", &WindowMain::TempCV},
      {"Pression", &WindowMain::Pression},
      {"Pitch", &WindowMain::Pitch},
      {"ModeHPU", &WindowMain::ModeHPU},
      {"ProtocoleVersion", &WindowMain::ProtocoleVersion},
      {"RPM2", &WindowMain::RPM2},
      {"presenceHPU", &WindowMain::presenceHPU},
      {"timeLastDataCV", &WindowMain::timeLastDataCV},
      {"timeLastDataHPU", &WindowMain::timeLastDataHPU},
      {"P_out", &WindowMain::P_out},
      {"emissionRequest", &WindowMain::emissionRequest},
      {"TrameBufferEmission", &WindowMain::TrameBufferEmission},
      {"TrameBufferEmissionSize", &WindowMain::TrameBufferEmissionSize},
      {"reponseHPU", &WindowMain::reponseHPU},
      {"Adr_debut_lecture", &WindowMain::Adr_debut_lecture},
      {"Adr_fin_lecture", &WindowMain::Adr_fin_lecture},
      {"TrameBufferEEPROM", &WindowMain::TrameBufferEEPROM},
      {"Adr_debut_envoi", &WindowMain::Adr_debut_envoi},
      {"Adr_fin_envoi", &WindowMain::Adr_fin_envoi},
      {"Adr_debut_reponse", &WindowMain::Adr_debut_reponse},
      {"Adr_fin_reponse", &WindowMain::Adr_fin_reponse},
      {"timeStampLastLog", &WindowMain::timeStampLastLog},
  };
  auto found = members.find(name);
  return found == members.end() ? nullptr : &found->second;
}

const MemberPointer& RequireMember(const std::string& name) {
  const MemberPointer* member = FindMember(name);
  if (!member) throw Failure("no member " + name);
  return *member;
}

}  // namespace scenario
