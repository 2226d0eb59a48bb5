// The README's route files, which the route page's tests open and the Linux build reads for the
// bytes the page must give: one copy of them for every browser test.
import path from 'node:path';

import {repoRoot} from './harness.mjs';

// The Linux build's program, whose output the page is compared with.
export const kLinux = path.join(repoRoot, 'build/default/src/main/hcurve');

// The README's route, grade line and cross-fall, each in a file of its own.
export const kRoute = `点号,X,Y,R,A1,A2,桩号
BP,3456088.2656,511632.3766,,,,K11+345.678
JD1,3456789.1230,512345.6780,500,200,250,
JD2,3457084.2532,513508.8195,800,300,300,
EP,3457814.5550,514034.8035,,,,

断链前桩号,断链后桩号
K12+800,K12+780
`;
export const kProfile = `变坡点桩号,高程,竖曲线半径
K11+400,100.000,
K12+000,112.000,8000
K12+700,105.000,12000
13500,117.000,10000
14400,112.000,
`;
export const kCrossFall = `桩号,左横坡,右横坡
K11+400,-2,-2
K12+168.835,-2,-2
K12+248.835,4,-4
K12+410.388,4,-4
K12+535.388,-2,-2
`;
// The README's cross-section: template, crown, superelevation, side slopes and ditch.
export const kSection = `侧,部件,宽度,横坡
左,中央分隔带,1.0,-2
左,行车道,7.5,路拱
左,硬路肩,2.5,路拱
左,土路肩,0.75,-4
右,中央分隔带,1.0,-2
右,行车道,7.5,路拱
右,硬路肩,2.5,路拱
右,土路肩,0.75,-4

路拱横坡,旋转轴
2,中线

交点,超高横坡,加宽,超高渐变长度,加宽过渡
JD1,6,0.8,,高次
JD2,4,0.4,,

侧,类型,坡率,高度,平台宽
左,填,1.5,8,2
左,填,1.75,,
右,填,1.5,,
左,挖,0.75,10,1.5
左,挖,1,,
右,挖,1,,

侧,边沟底宽,边沟深,内坡率,外坡率
左,0.6,0.6,1,1
右,0.6,0.6,1,1
`;
