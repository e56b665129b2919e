// The battle with the Demon King: battle panels, magic panels and the final blow.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region battleRows() {
    using namespace layout;
    return {
        scene(TButton, "bosu", 40, 88, 145, 25).caption("大魔王が現れた！").hidden().tabOrder(29).click("bosuClick"),

        scene(TPanel, "bosu1", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).border(1).bsSingle().color(clWhite).tabOrder(30),
        child(TImage, "Image12", 8, 8, 65, 97).picture("demonking"),
        child(TLabel, "Label12", 16, 112, 36, 12).caption("大魔王"),
        child(TButton, "Button4", 96, 16, 75, 25).caption("攻撃").tabOrder(0).click("Button4Click"),
        child(TButton, "Button5", 96, 56, 75, 25).caption("魔法").tabOrder(1).click("Button5Click"),
        child(TButton, "Button6", 96, 96, 75, 25).caption("逃げる").tabOrder(2).click("Button6Click"),

        scene(TPanel, "bosu3", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(36),
        child(TImage, "Image15", 8, 8, 65, 97).picture("demonking"),
        child(TLabel, "Label14", 16, 112, 36, 12).caption("大魔王"),
        child(TButton, "Button14", 96, 16, 75, 25).caption("攻撃").tabOrder(0).click("Button14Click"),
        child(TButton, "Button15", 96, 56, 75, 25).caption("魔法").tabOrder(1).click("Button15Click"),
        child(TButton, "Button16", 96, 96, 75, 25).caption("逃げる").tabOrder(2).click("Button16Click"),

        scene(TPanel, "bosu4", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(37),
        child(TImage, "Image16", 8, 8, 65, 97).picture("demonking"),
        child(TLabel, "Label15", 16, 112, 36, 12).caption("大魔王"),
        child(TButton, "Button17", 96, 16, 75, 25).caption("攻撃").tabOrder(0).click("Button17Click"),
        child(TButton, "Button18", 96, 56, 75, 25).caption("魔法").tabOrder(1).click("Button18Click"),
        child(TButton, "Button19", 96, 96, 75, 25).caption("逃げる").tabOrder(2).click("Button19Click"),

        scene(TPanel, "bosu5", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(38),
        child(TImage, "Image17", 8, 8, 65, 97).picture("demonking"),
        child(TLabel, "Label16", 16, 112, 36, 12).caption("大魔王"),
        child(TButton, "Button20", 96, 16, 75, 25).caption("攻撃").tabOrder(0).click("Button20Click"),
        child(TButton, "Button21", 96, 56, 75, 25).caption("道具").tabOrder(1).click("Button21Click"),
        child(TButton, "Button22", 96, 96, 75, 25).caption("逃げる").tabOrder(2).click("Button22Click"),

        scene(TPanel, "bosu6", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(42),
        child(TImage, "Image18", 8, 8, 65, 97).picture("demonking"),
        child(TLabel, "Label17", 16, 112, 36, 12).caption("大魔王"),
        child(TButton, "Button27", 96, 16, 75, 25).caption("攻撃").tabOrder(0).click("Button27Click"),
        child(TButton, "Button28", 96, 56, 75, 25).caption("道具").tabOrder(1).click("Button28Click"),
        child(TButton, "Button29", 96, 96, 75, 25).caption("逃げる").tabOrder(2).click("Button29Click"),

        scene(TPanel, "mahou", 8, 184, 305, 57).hidden().bevels(bvRaised, bvRaised).bevel(3).border(1).bsSingle().color(clRed).tabOrder(35),
        child(TButton, "Button12", 24, 16, 113, 25).caption("メラゾーマ").tabOrder(0).click("Button12Click"),
        child(TButton, "Button13", 168, 16, 113, 25).caption("ムロマチバクファ―").tabOrder(1).click("Button13Click"),

        scene(TPanel, "mahou2", 6, 184, 305, 57).hidden().bevels(bvRaised, bvRaised).bevel(3).border(1).bsSingle().color(clRed).tabOrder(39),
        child(TButton, "Button23", 24, 16, 113, 25).caption("メラゾーマ").tabOrder(0).click("Button23Click"),
        child(TButton, "Button24", 168, 16, 113, 25).caption("ムロマチバクファ―").tabOrder(1).click("Button24Click"),

        scene(TPanel, "mahou3", 6, 184, 305, 57).hidden().bevels(bvRaised, bvRaised).bevel(3).border(1).bsSingle().color(clRed).tabOrder(40),
        child(TButton, "Button25", 24, 16, 113, 25).caption("パナソニックス").tabOrder(0).click("Button25Click"),
        child(TButton, "Button26", 168, 16, 113, 25).caption("イソノワカメデュ―ム").tabOrder(1).click("Button26Click"),
    };
}

// Story handlers
