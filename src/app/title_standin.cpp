#include "app/title_standin.hpp"

#include "essentials/assets.hpp"
#include "essentials/draw_helpers.hpp"
#include "essentials/settings.hpp"
#include "platform/keycodes.hpp"
#include "platform/platform.hpp"

int titleStandInUpdate() {
  const float w = static_cast<float>(settings.screenwidth);
  const float h = static_cast<float>(settings.screenheight);
  resetDrawState();
  pf::setColour(4, 14, 34);
  pf::fillRect(0.0f, 0.0f, w, h);

  if (assets.blobImage) {
    pf::midHandleImage(*assets.blobImage);
    pf::setBlend(pf::kBlendLight);
    pf::setColour(20, 90, 170);
    pf::setAlpha(0.6f);
    pf::setScale(8.0f, 2.0f);
    pf::drawImage(*assets.blobImage, 400.0f, 250.0f);
  }
  resetDrawState();
  pf::setScale(3.0f, 3.0f);
  pf::setColour(210, 245, 255);
  drawTextCentred("Ovelune", 400.0f, 250.0f, 1);
  pf::setScale(0.7f, 0.7f);
  pf::setColour(120, 180, 230);
  drawTextCentred("press Escape to quit", 400.0f, 360.0f, 1);
  resetDrawState();

  const bool escape = pf::keyHit(pf::vk::kEscape) > 0;
  const bool closing = pf::takeCloseRequest();
  return escape || closing ? 1 : 0;
}
